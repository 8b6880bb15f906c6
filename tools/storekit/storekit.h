// Builds stand-in databases: empty files, stores of a given version with the shared tables,
// and brand price-list databases with numbered tables. Tests, the sample and the benchmark use it.
#pragma once

#include "app/price_row.h"
#include "platform/ado/ado.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

namespace storekit {

// Connection string of the desktop driver for a stand-in file.
QString DesktopConnectionString(const QString& path, const QString& password = {});

// Creates an empty stand-in file (replacing any file there); a non-empty password protects it.
// A side file there that is not a regular file is refused, naming it, and left.
void CreateEmptyFile(const QString& path, const QString& password = {});

// Creates the stand-in file and has fill write it on an open connection. A file half made is no
// stand-in: when fill fails, the file goes and the failure is passed on.
void MakeFile(const QString& path, const QString& password,
    const std::function<void(ado::Connection&)>& fill);

// Writes the files at targets all together or not at all: build makes them at the paths it is
// given, beside the targets, and only once it has made every one do they take the targets'
// places, in the rollback-journal mode. A target that is there already is refused, naming it,
// unless replace, also one made there while build runs; a replaced file's side files go with
// it, and one of them that is not a regular file is refused, naming it, and left. A failure
// leaves the targets as they were. The targets' folders are made as needed.
void WriteFiles(const QStringList& targets, bool replace,
    const std::function<void(const QStringList& staged)>& build);

// Opens a stand-in file for the fixture to write (the file's own password).
void OpenFile(ado::Connection& cn, const QString& path, const QString& password = {});

// A column: name and declared type; texts are declared COLLATE NOCASE as the stores compare.
struct Column {
    QString name;
    QString type;
};
void CreateTable(ado::Connection& cn, const QString& table, const std::vector<Column>& columns);
QString Text(int n); // "Text(n) COLLATE NOCASE"
// A text between single quotes, as a statement holds it.
QString Quoted(const QString& s);
// Whether the stand-in file holds a table of that name.
bool HasTable(ado::Connection& cn, const QString& table);
// Declares the column a key no two rows share, as a store's primary key does (index
// <table>_<column>).
void UniqueKey(ado::Connection& cn, const QString& table, const QString& column);

struct BrandKey {
    int id;
    QString name;
};

struct StoreSetup {
    QString version; // the text of System.Ver
    QString password; // stand-in password of the file, may be empty
    std::vector<BrandKey> brands; // rows of Brand (classic schema)
    std::vector<BrandKey> ptaBrands; // rows of Pta_BrandID
    std::vector<std::pair<QString, int>> counters; // rows of LastID
};

// A store file of a version with the shared tables System, Brand, Pta_BrandID, LastID and
// the staging table PriceList; fill then writes the rest in the same transaction.
void CreateStore(const QString& path, const StoreSetup& setup,
    const std::function<void(ado::Connection&)>& fill = {});
void CreateSharedTables(ado::Connection& cn, const StoreSetup& setup);

// A brand price-list database: PriceList_Count listing the given table numbers, each
// PriceList_<n> with its rows, and an empty PriceListAll.
using PriceTables = std::vector<std::pair<int, std::vector<PriceRow>>>;
void CreatePriceList(const QString& path, const PriceTables& tables, const QString& password = {});
std::vector<Column> PriceRowTableColumns();
void InsertPriceRow(ado::Connection& cn, const QString& table, const PriceRow& row);

// A price row with the fields most fixtures need.
PriceRow MakePriceRow(const QString& kind, const QString& partNo, const QString& eName,
    const QString& tName, double price, double sale = 0, const QStringList& altNos = {},
    const QString& model1 = {});

} // namespace storekit
