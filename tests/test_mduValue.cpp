// Text and number helpers: part-number keys, cleaning, Thai sort keys, padding, model text.
#include "common/mduValue.h"
#include "platform/runtime/error.h"

#include <gtest/gtest.h>

using rt::Value;
using namespace mduValue;

namespace {

QString th(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A text with control characters spelled as \x escapes, NUL included (n is the length).
QString raw(const char* s, qsizetype n) {
    QString t;
    for (qsizetype i = 0; i < n; ++i)
        t += QChar(char16_t(static_cast<unsigned char>(s[i])));
    return t;
}

} // namespace

TEST(MduValue, SqueezeTextAndSqueezePartNo) {
    struct Case {
        QString in, expected;
    };
    const Case cases[] = {
        { "", "" },
        { "   ", "" },
        { "KM-12 / 3 P", "KM123P" },
        { " -/- ", "" },
        { "KM--12//3", "KM123" },
        { "A\tB", "A\tB" }, // only U+0020 is a blank
        { th("A\u2013B"), th("A\u2013B") }, // en dash is not "-"
        { th(" กข-12 "), th("กข12") },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SqueezeText(c.in), c.expected) << c.in.toStdString();
        EXPECT_EQ(SqueezePartNo(c.in), c.expected) << c.in.toStdString();
    }
}

TEST(MduValue, RemoveBlanks) {
    struct Case {
        Value in;
        QString expected;
    };
    const Case cases[] = {
        { "", "" },
        { "   ", "" },
        { " A B  C ", "ABC" },
        { "A/B-C", "A/B-C" },
        { "A\tB", "A\tB" },
        { 12, "12" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(RemoveBlanks(c.in), c.expected);
    EXPECT_THROW(RemoveBlanks(Value()), rt::RunError);
}

TEST(MduValue, MakeMatchKey) {
    struct Case {
        QString in, expected;
    };
    const Case cases[] = {
        { "", "" },
        { "   ", "" },
        { "KM'12, 3", "KM123" },
        { "KM-12 / 3", "KM123" },
        { "A**B", "A*B" }, // cleaning leaves the second "*"
        { "A*'B", "A'B" }, // and a quote straight after a removed "*"
        { "A\r\nB", "A\nB" }, // and the second of two control characters
        { "AB\r\n", "AB" },
        { "\t", "" },
        { th("น้ำมัน เครื่อง/ 1-2"), th("น้ำมันเครื่อง12") },
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeMatchKey(c.in), c.expected) << c.in.toStdString();
}

TEST(MduValue, IsuzuAndNissanPartCodes) {
    struct Case {
        QString in, isuzu, nissan;
    };
    const Case cases[] = {
        { "", "", "" },
        { "-", "", "-" },
        { "8-KMPRST12-3", "KMPRST12-", "8-KMPRST12-3" },
        { "8KMPRST12-3", "8KMPRST12", "8KMPRST12-3" },
        { " 8KMPRST12", " 8KMPRST1", " 8KMPRST12" }, // a leading blank counts
        { " -ABC", "ABC", " -ABC" },
        { "--ABCDEFGHIJ", "-ABCDEFGH", "--ABCDEFGHIJ" },
        { "KMP12-XY123", "KMP12-XY1", "KMP12-XY1" },
        { "KMP1-2XY123", "KMP1-2XY1", "KMP1-2XY123" },
        { "KMP1-", "KMP1-", "KMP1-" },
        { "KMP12-", "KMP12-", "KMP12-" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsuzuPartCode(c.in), c.isuzu) << c.in.toStdString();
        EXPECT_EQ(NissanPartCode(c.in), c.nissan) << c.in.toStdString();
    }
}

TEST(MduValue, PartSearchCode) {
    struct Case {
        QString brand, partNo, version, expected;
    };
    const Case cases[] = {
        { "VURE", "KM-12 3", "P.48 (Bar)", "KM123" },
        { "ISUZU", "8-KMPRST12-3", "P.45 (Bar)", "8KMPRST123" },
        { "NISSAN", "KMP12-XY123", "P.49 (Bar)", "KMP12XY123" },
        { "VURE", "KM-12", " P.64 (Bar) ", "KM12" }, // the version is trimmed
        { "VURE", "KM-12", "P.65 (Bar)", "KM12" },
        { "VURE", "KM-12", "P.52", "" },
        { "VURE", "KM-12", "P.66 (Bar)", "" },
        { "ISUZU", "8-KMPRST12-3", "P.52", "KMPRST12-" },
        { "ISUZU", "8-KMPRST12-3", "p.45 (bar)", "KMPRST12-" },
        { "isuzu", "8-KMPRST12-3", "P.52", "" },
        { "NISSAN", "KMP12-XY123", "V.33", "KMP12-XY1" },
        { "UD", "KMP12-XY123", "V.33", "KMP12-XY1" },
        { "BENZ", "A 123-45/6", "V.33", "A123456" },
        { "", "A", "", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(PartSearchCode(c.brand, c.partNo, c.version), c.expected)
            << c.brand.toStdString() << " " << c.version.toStdString();
}

TEST(MduValue, FormatPartNoAndFormatPartNoV) {
    struct Case {
        Value in;
        QString expected, expectedV;
    };
    const Case cases[] = {
        { Value(), "", "" },
        { "", "", "" },
        { "   ", "", "" },
        { "KMPRSTWXYZ", "KMPRS-TWXYZ", "VKMPRS-TWXYZ" },
        { "KMPRSTWXYZ1", "KMPRS-TWXYZ 1", "VKMPRS-TWXYZ 1" },
        { "KMPRSTWXYZ12AB", "KMPRS-TWXYZ 12AB", "VKMPRS-TWXYZ 12AB" },
        { "KMPRS-TWXYZ", "KMPRS-TWXYZ", "VKMPRS-TWXYZ" },
        { "KMPRS-TWXYZ1", "KMPRS-TWXYZ 1", "VKMPRS-TWXYZ 1" },
        { "KMPRS-TWXYZ12A", "KMPRS-TWXYZ 12A", "VKMPRS-TWXYZ 12A" },
        { "KMPRS-TW.XYZ9", "KMPRS-TW.XY Z9", "VKMPRS-TW.XY Z9" }, // dash rule comes first
        { "KMPRST", "KMPRS-T", "VKMPRS-T" },
        { "KMPRS", "KMPRS", "VKMPRS" },
        { "KMP-", "KMP-", "VKMP-" },
        { "KMP.RSTWXYZ12", "KMP.RSTWXYZ12", "VKMP.RSTWXYZ12" },
        { "KMPRS(T)WX", "KMPRS(T)WX", "VKMPRS(T)WX" },
        { " KMPRS TWXYZ ", "KMPRS-TWXYZ", "VKMPRS-TWXYZ" },
        { 1234567, "12345-67", "V12345-67" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatPartNo(c.in), c.expected) << c.expected.toStdString();
        EXPECT_EQ(FormatPartNoV(c.in), c.expectedV) << c.expected.toStdString();
    }
}

TEST(MduValue, CleanText) {
    struct Case {
        QString in, expected;
    };
    const Case cases[] = {
        { "", "" },
        { "   ", "" },
        { "A\tB", "AB" },
        { raw("A\x15"
              "B",
              3),
            raw("A\x15"
                "B",
                3) }, // codes 21 to 31 stay
        { raw("A\0B", 3), "AB" },
        { "A\x7F"
          "B",
            "AB" },
        { "A\r\nB", "A\nB" }, // the LF slid into the CR's place unexamined
        { "AB\r\n", "AB" }, // but a last control character always goes
        { raw("AB\x01\x02\x03\x04", 6), raw("AB\x02", 3) },
        { "\t", "" },
        { "KM'12", "KM 12" },
        { "1,25", "1 25" },
        { "A*B", "AB" },
        { "A**B", "A*B" },
        { "A**", "A*" },
        { "A*'", "A'" },
        { "A*,B", "A,B" },
        { "AB*", "AB" },
        { " ',' ", "" },
        { "  K M  ", "K M" },
        { th("น้ำมัน*เครื่อง 'ใหม่'"), th("น้ำมันเครื่อง  ใหม่") },
    };
    for (const auto& c : cases)
        EXPECT_EQ(CleanText(c.in), c.expected) << c.in.toStdString();

    // positions are counted in 16 bits
    EXPECT_EQ(CleanText(QString(32766, u'A')).size(), 32766);
    EXPECT_THROW(CleanText(QString(32767, u'A')), rt::RunError);
}

TEST(MduValue, CleanTextVar) {
    struct Case {
        Value in;
        QString expected;
        Value after;
    };
    const Case cases[] = {
        { Value(), "", Value() },
        { "   ", "", "   " },
        { "\t", "", "" },
        { "AB.-", "AB", "AB" },
        { "AB-.", "AB-", "AB-" },
        { "AB -", "AB", "AB " }, // the blank stays in the variable
        { "AB**-", "AB", "AB" },
        { " KM'12, ", "KM 12", "KM 12" },
        { "A\r\nB*", "A\nB", "A\nB" },
        { 12.5, "12.5", "12.5" },
        { th("ไส้กรอง."), th("ไส้กรอง"), th("ไส้กรอง") },
    };
    for (const auto& c : cases) {
        Value v = c.in;
        EXPECT_EQ(CleanTextVar(v), c.expected) << c.expected.toStdString();
        EXPECT_EQ(v, c.after) << c.expected.toStdString();
    }

    Value tooLong = QString(32767, u'A');
    EXPECT_THROW(CleanTextVar(tooLong), rt::RunError);
}

TEST(MduValue, LeadingDigitsText) {
    struct Case {
        Value in;
        QString expected;
    };
    const Case cases[] = {
        { "", "" },
        { "   ", "" },
        { "No. 12  34", "12 34" },
        { "ABC", "" },
        { "X7", "7" },
        { " 7", "7" },
        { "7", "7" },
        { "X", "" },
        { "A 1   2    3  ", "1 2 3" },
        { th("เลขที่  45   ก"), th("45 ก") },
        { 42, "42" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(LeadingDigitsText(c.in), c.expected) << c.expected.toStdString();
}

TEST(MduValue, ToInteger) {
    struct Case {
        Value in;
        int expected;
    };
    const Case cases[] = {
        { "05", 5 },
        { "123", 123 },
        { "", 0 },
        { "AB", 0 },
        { "1A", 0 },
        { Value(), 0 },
        { 2.5, 2 },
        { 3.5, 4 },
        { "2.5", 2 },
        { "32767", 32767 },
        { "-32768", -32768 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToInteger(c.in), c.expected);
    EXPECT_THROW(ToInteger(Value("32768")), rt::RunError);
    EXPECT_THROW(ToInteger(Value(-40000)), rt::RunError);
}

TEST(MduValue, ThaiSortKeys) {
    struct Case {
        Value in;
        QString key, pta;
    };
    const Case cases[] = {
        { Value(), "", "" },
        { 12, "", "" },
        { "", "", "" },
        { "   ", "", "" },
        { th("เ"), th("เ"), th("เ") },
        { th("เกม"), th("กเม"), th("กเม") },
        { th("ไก่"), th("กไ่"), th("กไ่") },
        { th("กเ"), th("กเ"), th("กเ") }, // a vowel at the end stays
        { th("เกเข"), th("กเขเ"), th("กเขเ") },
        { th("เแก"), th("แเก"), th("เแก") }, // the rules differ on two vowels in a row
        { th("แเก"), th("เแก"), th("กแเ") },
        { th(" เก"), th("กเ"), th(" กเ") }, // only the classic key trims
        { th("เ "), th("เ"), th(" เ") },
        { th("เ ก"), th(" เก"), th(" เก") }, // a vowel trades places with a blank too
        { th("โรงเรียน"), th("รโงรเียน"), th("รโงรเียน") },
        { th("ใหม่ "), th("หใม่"), th("หใม่ ") },
        { "KM-12", "KM-12", "KM-12" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ThaiSortKey(c.in), c.key) << c.key.toStdString();
        EXPECT_EQ(ThaiSortKeyPta(c.in), c.pta) << c.pta.toStdString();
    }

    // the classic scan counts positions in 16 bits; the five-pass one has no limit
    const QString ko = th("ก");
    EXPECT_EQ(ThaiSortKey(Value(QString(32766, ko[0]))).size(), 32766);
    EXPECT_THROW(ThaiSortKey(Value(QString(32768, ko[0]))), rt::RunError);
    EXPECT_EQ(ThaiSortKeyPta(Value(QString(40000, ko[0]))).size(), 40000);
}

TEST(MduValue, Pad2AndPad3) {
    struct Case {
        int32_t n;
        QString pad2, pad3;
    };
    const Case cases[] = {
        { 0, "00", "000" },
        { 7, "07", "007" },
        { 9, "09", "009" },
        { 10, "10", "010" },
        { 42, "42", "042" },
        { 99, "99", "099" },
        { 100, "", "100" },
        { 999, "", "999" },
        { 1000, "", "" },
        { -5, "0-5", "00-5" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Pad2(c.n), c.pad2) << c.n;
        EXPECT_EQ(Pad3(c.n), c.pad3) << c.n;
    }
}

TEST(MduValue, JoinModels) {
    using Models = std::array<QString, 12>;
    struct Case {
        Models in;
        QString expected;
    };
    const Case cases[] = {
        { Models {}, "" },
        { Models { " ", " ", "  " }, "" },
        { Models { " VIOS " }, "VIOS" },
        { Models { "", "VIOS" }, ", VIOS" }, // a blank first model is not skipped
        { Models { "A", "", "C" }, "A, C" },
        { Models { "  ", " ", "X  Y " }, ", X  Y" },
        { Models { "", "", "", "", "", "", "", "", "", "", "", "L" }, ", L" },
        { Models { "ABCDEFGHIJ", "KLMNOPQRST", "UVWXYZ" }, "ABCDEFGHIJ, KLMNOPQRST, UVWXYZ" },
        { Models { "ABCDEFGHIJ", "KLMNOPQRST", "UVWXYZ1" }, "ABCDEFGHIJ, KLMNOPQRST, UVWXYZ" },
        { Models { "ABCDEFGHIJ", "KLMNOPQRST", "UVWXY", "Z" }, "ABCDEFGHIJ, KLMNOPQRST, UVWXY," },
        { Models { th("โตโยต้า"), th("วีออส"), th("ยาริส"), th("คัมรี่"), th("อัลติส") },
            th("โตโยต้า, วีออส, ยาริส, คัมรี่,") },
    };
    for (const auto& c : cases)
        EXPECT_EQ(JoinModels(c.in), c.expected) << c.expected.toStdString();
}
