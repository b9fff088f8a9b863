#pragma once

#include <QAbstractListModel>
#include <QStringList>

#include <functional>

// A choice list of a fixed first entry ("All Products") and names read from the database only when they are
// first needed: a view that shows them (the list opened) or a search through them. Until then the list holds
// only how many names there are, so a big shop's hundred thousand names cost nothing at start.
class LazyNameListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    using NameCount = std::function<qint64()>;
    using NameReader = std::function<QStringList()>;

    LazyNameListModel(const QString& firstEntry, const NameCount& count, NameReader readNames,
                      QObject* parent = nullptr);

    bool namesRead() const { return m_read; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    void readNames() const;
    void takeNameCount(int count);

    QString m_firstEntry;
    NameReader m_reader;
    int m_nameCount = 0;
    mutable QStringList m_names;
    mutable bool m_read = false;
};
