// The main form's run state and the procedures of run control. The subsystems (groups,
// update, insert, pta, reconcile, prepare) are functions over this state in their own folders.
#pragma once

#include "platform/ado/ado.h"
#include "platform/window/window_port.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

class frmKordane {
public:
    explicit frmKordane(win::WindowPort& window)
        : w(window) { }

    win::WindowPort& w;

    // Connections are created on first use; releasing one gives a fresh object next time.
    ado::Connection& cnPriceList();
    ado::Connection& cnStore();
    void releaseStore() { cnStore_.reset(); }
    ado::Recordset rsList, rsLookup, rsCheck;

    QString mSQL;
    int32_t mBrandID = 0;
    QString mBrandName;
    int16_t mUpdateNames = 0;
    QString mStoreVersion;
    std::vector<int16_t> mPriceListNos;
    int32_t mPriceListNoCount = 0;

    // Every statement is built into mSQL and then run or opened through these. Execute gives the
    // rows affected, -1 when the store does not tell.
    int64_t Execute(ado::Connection& cn, const QString& statement);
    void Open(ado::Recordset& rs, ado::Connection& cn, const QString& statement);
    // Closes a recordset when it is open.
    static void CloseIfOpen(ado::Recordset& rs);

    // Start-up and shut-down.
    void Form_Load();
    void SetUpDetailGrid();
    void Form_Unload(int16_t& Cancel);

    // The one entry of a run.
    void cmdUpDate_Click();

    // Connections.
    void SetUpPriceListConnection(); // on the window's price-list path, trimmed
    void SetUpPriceListConnection(const QString& priceListPath);
    void OpenStoreConnection();
    void OpenStoreAccess();
    // Closes cnStore when open, releases it and opens it again from the window's settings.
    void ReopenStore();

    // Store version and brand.
    int16_t CheckStoreVersion();
    void FindBrand();
    void FindBrandClassic();
    void FindBrandPta();

    // Staging table.
    void RecreateStagingTable();
    void RecreateStagingTableSql();
    int32_t CountStagedParts(); // the brand's
    int32_t CountStagedParts(const QString& where); // the staged rows a condition selects
    int16_t OpenStagedParts();
    // Opens rsList on staged rows with the columns the queue's head is read with.
    void OpenStagedRows(const QString& rest);
    static const QStringList& StagedColumns();
    void EmptyStagedParts(); // the brand's staged rows

    // Run sequence and passes.
    void RunTransfer();
    void TransferPriceTables();
    void TransferPriceListAll();
    int16_t HasPriceListAll();
    int16_t InsertNewParts(int16_t& n);
    // Refills mPriceListNos from PriceList_Count; false when it has no row (list kept).
    bool ReadPriceListNos();

    // Texts of the window as the procedures need them.
    QString storePathTrimmed() const;
    QString accessDriverPart() const;

private:
    std::unique_ptr<ado::Connection> cnPriceList_, cnStore_;
};

// The store versions the tool knows, in the order they are tested.
const std::vector<QString>& StoreVersions();
bool IsPtaVersion(const QString& version);

// Progress text shapes shared by the passes, the insertion, the reconciliation and the
// reorganisation.
QString StepText(const QString& label, const QString& brand);
QString RowProgressText(const QString& label, const QString& brand, const QString& tag,
    int32_t total, int32_t j, const QString& beforeCount = QStringLiteral("  ("));
QString FinishText(const QString& label, const QString& brand);
QString RowLabel(const QString& tName, const QString& eName, const QString& modelText);
QString RowPartText(const QString& kind, const QString& partNo, const QString& rowLabel);
