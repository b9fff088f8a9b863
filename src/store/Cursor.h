#pragma once

#include "store/DbValue.h"

#include <QByteArrayView>
#include <QString>
#include <QVariant>
#include <vector>

// One statement prepared by an engine's connection, walked a row at a time. Statement owns one; see there for
// what each call does. A cursor keeps its own error: a failed step sets it, and the caller decides what to show.
class Cursor
{
public:
    virtual ~Cursor() = default;

    virtual void bind(int index, const QVariant& value) = 0; // 1-based
    // Forgets the values bound so far and binds these; the next step runs the statement from its start.
    virtual void bindAll(const std::vector<QVariant>& values) = 0;
    virtual bool next() = 0;
    virtual bool exec() = 0;
    virtual void reset() = 0;
    virtual QString error() const = 0;

    // The columns are known before the first row.
    virtual int columnCount() const = 0;
    virtual QString columnName(int column) const = 0;
    virtual bool isNull(int column) const = 0;
    virtual QString text(int column) const = 0;
    virtual QByteArrayView utf8(int column) const = 0;
    virtual qint64 integer(int column) const = 0;
    virtual double real(int column) const = 0;
    virtual DbValue value(int column) const = 0;
};
