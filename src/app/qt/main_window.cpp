// Layout in twips as the window was drawn, at 15 twips a pixel.
#include "main_window.h"

#include "platform/ado/ado.h"
#include "platform/runtime/stop_signals.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QMessageBox>
#include <QProxyStyle>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr int kTwipsPerPixel = 15;
const QString kWindowFont = QStringLiteral("MS Sans Serif");
QRect twips(int left, int top, int width, int height) {
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
        height / kTwipsPerPixel);
}

// The password box masks with "*", whatever the style's own mask character is.
class StarMaskStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
        QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// A grid alignment value (0 to 8: left, centre, right by three; top, centre, bottom within)
// as a widget alignment; any other value is the grid's general one: numbers right, text left.
Qt::Alignment cellAlignment(int alignment, const QString& text) {
    if (alignment >= 0 && alignment <= 8) {
        static const Qt::Alignment across[] = { Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight };
        static const Qt::Alignment down[] = { Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom };
        return across[alignment / 3] | down[alignment % 3];
    }
    bool number = false;
    text.toDouble(&number);
    return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}
} // namespace

MainWindow::MainWindow()
    : form_(*this) {
    setObjectName(QStringLiteral("frmKordane"));
    setFixedSize(15120 / kTwipsPerPixel, 10395 / kTwipsPerPixel);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(pal);
    setAutoFillBackground(true);
    // the window's font as drawn; where it is missing, a Thai-capable face stands in for it
    QFont::insertSubstitutions(kWindowFont, { QStringLiteral("Tahoma"), QStringLiteral("Loma") });
    QFont font(kWindowFont);
    font.setPointSize(9);
    setFont(font);

    auto label = [this](const char* name, const QString& caption, QRect r) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(QLatin1String(name));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setGeometry(r);
        return l;
    };
    auto box = [this](win::Box b, const char* name, QRect r) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setGeometry(r);
        boxes_[b] = e;
        return e;
    };

    // created in tab order
    chkLikelAt_ = new QCheckBox(this);
    chkLikelAt_->setObjectName(QStringLiteral("chkLikelAt"));
    chkLikelAt_->setGeometry(twips(9120, 600, 5655, 375));
    optAccess_ = new QRadioButton(QStringLiteral("ข้อมูล Access ที่จัดเก็บ Velandor"), this);
    optAccess_->setObjectName(QStringLiteral("optAccess"));
    optAccess_->setGeometry(twips(120, 120, 4215, 375));
    box(win::Box::txtDataVelandor, "txtDataVelandor", twips(4320, 120, 10455, 375));
    optSQL_ = new QRadioButton(QStringLiteral("ข้อมูล SQL"), this);
    optSQL_->setObjectName(QStringLiteral("optSQL"));
    optSQL_->setGeometry(twips(120, 600, 1695, 375));
    label("Label4", QStringLiteral("Server Name"), twips(2640, 600, 1575, 375));
    box(win::Box::txtServer, "txtServer", twips(4320, 600, 3375, 360));
    label("Label1", QStringLiteral("Autherntication"), twips(2280, 960, 1935, 375));
    box(win::Box::txtdbq, "txtdbq", twips(4320, 960, 3375, 360));
    label("Label8", QStringLiteral("Login"), twips(3480, 1320, 735, 375));
    box(win::Box::txtuid, "txtuid", twips(4320, 1320, 1815, 360));
    label("Label7", QStringLiteral("Password"), twips(2880, 1680, 1335, 375));
    auto* pwd = box(win::Box::txtpwd, "txtpwd", twips(4320, 1680, 1815, 360));
    pwd->setEchoMode(QLineEdit::Password);
    auto* mask = new StarMaskStyle;
    mask->setParent(pwd);
    pwd->setStyle(mask);
    label("Label5", QStringLiteral("ที่จัดเก็บข้อมูลPriceList"), twips(1680, 2160, 2535, 375));
    box(win::Box::txtPriceList, "txtPriceList", twips(4320, 2160, 10455, 375));
    label("Label2", QStringLiteral("ลำดับการทำงาน"), twips(2280, 2640, 1935, 375));
    box(win::Box::txtQTY, "txtQTY", twips(4320, 2640, 9495, 375));
    label("Label3", QStringLiteral("เบอร์อะไหล่"), twips(2880, 3000, 1335, 375));
    box(win::Box::txtPartNO, "txtPartNO", twips(4320, 3000, 9495, 360));
    cmdUpDate_ = new QPushButton(QStringLiteral("UpDate"), this);
    cmdUpDate_->setObjectName(QStringLiteral("cmdUpDate"));
    cmdUpDate_->setGeometry(twips(13920, 2640, 855, 735));
    msgDetail_ = new QTableWidget(this);
    msgDetail_->setObjectName(QStringLiteral("msgDetail"));
    msgDetail_->setGeometry(twips(240, 3600, 14535, 6615));
    msgDetail_->verticalHeader()->hide();
    msgDetail_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    QWidget* order[] = { chkLikelAt_, optAccess_, boxes_[win::Box::txtDataVelandor], optSQL_,
        boxes_[win::Box::txtServer], boxes_[win::Box::txtdbq], boxes_[win::Box::txtuid],
        boxes_[win::Box::txtpwd], boxes_[win::Box::txtPriceList], boxes_[win::Box::txtQTY],
        boxes_[win::Box::txtPartNO], cmdUpDate_, msgDetail_ };
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    storeType_ = new QButtonGroup(this);
    storeType_->addButton(optAccess_);
    storeType_->addButton(optSQL_);
    optAccess_->setChecked(true);

    grid_.setWidth(msgDetail_->width() * kTwipsPerPixel);
    grid_.setListener([this](win::GridModel::Change what, int r, int c) { syncGrid(what, r, c); });
    connect(cmdUpDate_, &QPushButton::clicked, this, [this] { form_.cmdUpDate_Click(); });
    form_.Form_Load();
}

MainWindow::~MainWindow() {
    grid_.setListener({});
}

QWidget* MainWindow::control(const char* name) const {
    return findChild<QWidget*>(QLatin1String(name));
}

QString MainWindow::text(win::Box b) const {
    return boxes_.at(b)->text();
}

void MainWindow::setText(win::Box b, const QString& t) {
    boxes_.at(b)->setText(t);
}

void MainWindow::setCaption(win::Caption which, const QString& t) {
    if (which == win::Caption::Window)
        setWindowTitle(t);
    else
        chkLikelAt_->setText(t);
}

int MainWindow::chkLikelAt() const {
    switch (chkLikelAt_->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void MainWindow::setMousePointer(int pointer) {
    // the window's own pointer: message boxes and the text boxes keep theirs
    setCursor(pointer == win::ArrowHourglass ? Qt::BusyCursor : Qt::ArrowCursor);
}

void MainWindow::msgBox(const QString& t, win::MsgStyle style) {
    // the pump is spaced out: the last progress texts show before the box
    QCoreApplication::processEvents();
    if (messageHook) {
        messageHook(t, style);
        return;
    }
    QMessageBox box(this);
    box.setWindowTitle(QString());
    box.setText(t);
    box.setIcon(style == win::MsgStyle::Exclamation ? QMessageBox::Warning
            : style == win::MsgStyle::Question      ? QMessageBox::Question
                                                    : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

void MainWindow::doEvents() {
    if (!pumpClock_.isValid()) pumpClock_.start();
    if (pumpThrottle_.due(pumpClock_.elapsed())) QCoreApplication::processEvents();
}

void MainWindow::closeOnStopSignals() {
    if (stopNotifier_) return; // one watch, one close
    // A terminal that went away costs the window its failure line, never its files: the write
    // fails instead of ending the program with them open.
    std::signal(SIGPIPE, SIG_IGN);
    const int fd = rt::CatchStopSignals();
    if (fd < 0) return;
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    stopNotifier_ = notifier;
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        const int sig = rt::TakeStopSignal();
        if (sig == 0) return;
        stopSignal_ = sig;
        close();
    });
}

void MainWindow::failureCause(const QString& message) {
    QString line = message;
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

void MainWindow::endProgram() {
    if (endHook) {
        endHook();
        return;
    }
    // Closing ends the program at once, whatever a run was doing; its files are closed first
    // (a transaction in hand rolled back, as a kill leaves it), so none keeps committed rows
    // only in a side file.
    ado::CloseStandIns();
    // ended by a signal, it tells whoever sent it that it did
    if (stopSignal_ != 0) rt::EndOfSignal(stopSignal_);
    std::_Exit(0);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    int16_t cancel = 0;
    form_.Form_Unload(cancel);
    event->accept();
}

void MainWindow::syncGrid(win::GridModel::Change what, int row, int col) {
    using Change = win::GridModel::Change;
    switch (what) {
    case Change::Cell:
        showCell(row, col);
        break;
    case Change::Column:
        showColumn(col);
        break;
    case Change::Shape:
        showShape();
        break;
    case Change::Cleared:
        msgDetail_->clearContents();
        for (int c = 0; c < msgDetail_->columnCount(); ++c)
            if (auto* item = msgDetail_->horizontalHeaderItem(c)) item->setText(QString());
        break;
    }
}

void MainWindow::showCell(int row, int col) {
    const QString text = grid_.TextMatrix(row, col);
    if (row == 0) {
        msgDetail_->horizontalHeaderItem(col)->setText(text);
        return;
    }
    auto* item = msgDetail_->item(row - 1, col);
    if (!item) msgDetail_->setItem(row - 1, col, item = new QTableWidgetItem);
    item->setText(text);
    item->setTextAlignment(cellAlignment(grid_.ColAlignment(col), text));
}

void MainWindow::showColumn(int col) {
    const int w = grid_.ColWidth(col);
    if (w >= 0) msgDetail_->setColumnWidth(col, w / kTwipsPerPixel);
    for (int r = 0; r < msgDetail_->rowCount(); ++r)
        if (auto* item = msgDetail_->item(r, col))
            item->setTextAlignment(cellAlignment(grid_.ColAlignment(col), item->text()));
}

void MainWindow::showShape() {
    msgDetail_->setColumnCount(grid_.Cols());
    msgDetail_->setRowCount(std::max(0, grid_.Rows() - 1));
    // every column has a header item, so none shows the widget's own column numbers
    for (int c = 0; c < grid_.Cols(); ++c) {
        auto* item = msgDetail_->horizontalHeaderItem(c);
        if (!item) {
            msgDetail_->setHorizontalHeaderItem(c, item = new QTableWidgetItem);
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            const int w = grid_.ColWidth(c);
            if (w >= 0) msgDetail_->setColumnWidth(c, w / kTwipsPerPixel);
        }
        item->setText(grid_.Rows() > 0 ? grid_.TextMatrix(0, c) : QString());
    }
}
