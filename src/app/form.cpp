// Start-up, shut-down, the detail grid's set-up and the statement helpers of the form.
#include "frmKordane.h"

#include "platform/runtime/runtime.h"

using win::Box;
using win::Caption;

ado::Connection& frmKordane::cnPriceList() {
    if (!cnPriceList_) cnPriceList_ = std::make_unique<ado::Connection>();
    return *cnPriceList_;
}

ado::Connection& frmKordane::cnStore() {
    if (!cnStore_) cnStore_ = std::make_unique<ado::Connection>();
    return *cnStore_;
}

int64_t frmKordane::Execute(ado::Connection& cn, const QString& statement) {
    mSQL = statement;
    return cn.Execute(mSQL);
}

void frmKordane::Open(ado::Recordset& rs, ado::Connection& cn, const QString& statement) {
    mSQL = statement;
    rs.Open(mSQL, cn, 1, 3);
}

void frmKordane::CloseIfOpen(ado::Recordset& rs) {
    if (rs.isOpen()) rs.Close();
}

void frmKordane::Form_Load() {
    const QString dateText = QStringLiteral("1/4/2564");
    mUpdateNames = 1;
    mBrandName = QStringLiteral("VURE");
    w.setCaption(Caption::Window,
        QStringLiteral("Brisvale ") + mBrandName + QStringLiteral("  ") + dateText);
    w.setCaption(Caption::chkLikelAt, QStringLiteral("จัดระเบียบเบอร์แทน  ") + mBrandName);
    w.setText(Box::txtDataVelandor, QStringLiteral("E:\\DataVelandor\\Velandor.accdb"));
    w.setText(Box::txtPriceList,
        QStringLiteral("E:\\DataVelandor\\PriceList_") + mBrandName + QStringLiteral(".mdb"));
    SetUpDetailGrid();
}

void frmKordane::SetUpDetailGrid() {
    win::GridModel& g = w.grid();
    g.Clear();
    g.setCols(8);
    g.setRows(30);
    g.setFixedCols(1);
    g.setFixedRows(1);
    for (int c = 1; c <= 5; ++c)
        g.setColAlignment(c, 1);
    g.setColWidth(0, 1);
    g.setColWidth(1, 1200);
    g.setColWidth(2, 1200);
    g.setColWidth(3, 2700);
    g.setColWidth(5, 1800);
    g.setColWidth(6, 1300);
    g.setColWidth(7, 1300);
    g.setColWidth(4, int(rt::RoundHalfEven(double(float(g.Width())) - 9890.0)));
    const QString titles[] = {
        QStringLiteral("       ลำดับ"),
        QStringLiteral("     สินค้าใหม่"),
        QStringLiteral("                      รหัสสินค้า"),
        QStringLiteral("                                               รายการ"),
        QStringLiteral("                  รุ่น"),
        QStringLiteral("       ราคาเก่า"),
        QStringLiteral("      ราคาใหม่"),
    };
    for (int c = 1; c <= 7; ++c)
        g.setTextMatrix(0, c, titles[c - 1]);
}

void frmKordane::Form_Unload(int16_t&) {
    w.endProgram();
}
