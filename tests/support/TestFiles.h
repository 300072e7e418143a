// SPDX-License-Identifier: MIT
// Whole-file reads and writes for tests that put files in place or look at what was written.
#pragma once

// Qt
#include <QByteArray>
#include <QFile>
#include <QString>
// GoogleTest
#include <gtest/gtest.h>

// The file's bytes; empty when it cannot be read.
inline QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes bytes as the whole file; a test that cannot put its file in place stops there.
inline void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size()) << path.toStdString();
}
