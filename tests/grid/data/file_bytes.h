#pragma once
// Files as bytes, for the tests of the grid's file formats.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

inline QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteBytes(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}
