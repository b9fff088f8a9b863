#include "reports/LazyNameListModel.h"

#include <QMetaObject>

#include <climits>

LazyNameListModel::LazyNameListModel(const QString& firstEntry, const NameCount& count, NameReader readNames,
                                     QObject* parent)
    : QAbstractListModel(parent), m_firstEntry(firstEntry), m_reader(std::move(readNames)),
      m_nameCount(int(qBound<qint64>(0, count ? count() : 0, qint64(INT_MAX) - 1)))
{
}

int LazyNameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 1 + m_nameCount;
}

QVariant LazyNameListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount()
        || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    if (index.row() == 0)
        return m_firstEntry;
    readNames();
    const qsizetype name = index.row() - 1;
    return name < m_names.size() ? m_names.at(name) : QString();
}

void LazyNameListModel::readNames() const
{
    if (m_read)
        return;
    m_read = true;
    if (m_reader)
        m_names = m_reader();
    // Names added or removed between the count and the reading: the rows follow, once the view asking now is
    // done with its question.
    if (m_names.size() != m_nameCount) {
        auto* self = const_cast<LazyNameListModel*>(this);
        QMetaObject::invokeMethod(self, [self] { self->takeNameCount(int(self->m_names.size())); },
                                  Qt::QueuedConnection);
    }
}

void LazyNameListModel::takeNameCount(int count)
{
    if (count == m_nameCount)
        return;
    beginResetModel();
    m_nameCount = count;
    endResetModel();
}
