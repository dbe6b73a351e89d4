#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A scratch folder that also serves as the Windows folder and the data folder of the run.
class UninstallTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString Path(const QString& Name) const { return dir.path() + u'/' + Name; }
    void WriteBytes(const QString& Name, const QByteArray& Bytes) const;
    QByteArray ReadBytes(const QString& Name) const;

    QTemporaryDir dir;

private:
    QByteArray oldConfigHome;
};
