// A test fixture for the members that work on an open store: a loaded form over a stand-in
// store file, with readers of the store's rows and of the statements run.
#pragma once

#include "support/fake_window.h"
#include "support/query_rows.h"

#include <gtest/gtest.h>

class StoreFormTest : public ::testing::Test {
protected:
    void TearDown() override { ado::SetTraceHook(nullptr); }

    // Points the form at the file as the store of the brand and version, and opens it.
    void openStoreFile(const QString& path, int brandId, const QString& version) {
        fx.useStore(QString(), path, brandId, version);
        fx.form.OpenStoreConnection();
    }
    // Rows of the open store, a Null as "NULL".
    QStringList rows(const QString& sql) {
        return testenv::QueryRows(fx.form.cnStore(), sql, QStringLiteral("NULL"));
    }
    QStringList traced(const std::function<void()>& run) { return testenv::Traced(run); }

    FormFixture fx;
};
