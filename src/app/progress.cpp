// The shapes of the progress texts.
#include "frmKordane.h"

#include <cmath>
#include <cstdint>

QString StepText(const QString& label, const QString& brand) {
    return label + brand;
}

QString RowProgressText(const QString& label, const QString& brand, const QString& tag,
    int32_t total, int32_t j, const QString& beforeCount) {
    // the percentage is a 32-bit product divided as a floating-point quotient, rounded down
    int64_t product = int64_t(j) * 100;
    if (product > INT32_MAX) rt::throwOverflow(QStringLiteral("progress percentage"));
    // a row found beyond an empty count: an error, never a cast of infinity
    if (total == 0) throw rt::RunError(QStringLiteral("Division by zero"));
    const auto percent = int64_t(std::floor(double(product) / double(total)));
    return label + brand + tag + beforeCount + QString::number(int64_t(total) - j)
        + QStringLiteral(")  ") + QString::number(percent) + QStringLiteral(" %");
}

QString FinishText(const QString& label, const QString& brand) {
    return label + brand + QStringLiteral("  100 %");
}

QString RowLabel(const QString& tName, const QString& eName, const QString& modelText) {
    return (tName.isEmpty() ? eName : tName) + QStringLiteral("   ") + modelText;
}

QString RowPartText(const QString& kind, const QString& partNo, const QString& rowLabel) {
    if (kind.isEmpty()) return partNo + QStringLiteral(" - ") + rowLabel;
    return kind + QStringLiteral("-") + partNo + QStringLiteral(" - ") + rowLabel;
}
