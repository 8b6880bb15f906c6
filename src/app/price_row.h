// One row of a numbered price-list table (and of PriceListAll), in column order.
#pragma once

#include "platform/runtime/currency.h"

#include <QString>
#include <QStringList>
#include <array>

// The values a pass hands on for one part; a price-list row adds the store's spellings.
struct PriceFields {
    QString Kind, PartNO;
    std::array<QString, 5> AKind, AltNO;
    QString EName, TName;
    std::array<QString, 12> Model;
    QString Description, Import;
    rt::Currency Price;
    QString DisPrice;
    rt::Currency Sale;
};

struct PriceRow : PriceFields {
    QString PartNew, FPartNew;
};

// The 33 column names of a price-list table, in order.
const QStringList& PriceRowColumns();
// "Insert Into <table> Values( ... )": the 33 values in column order, texts quoted with their
// quotes doubled, the two amounts unquoted.
QString PriceRowInsertStatement(const QString& table, const PriceRow& r);
