#include "reports/HistoryTexts.h"

#include <QHash>

#include <algorithm>

// ---- TextPool ----

quint32 TextPool::add(QByteArrayView utf8)
{
    m_bytes.insert(m_bytes.end(), utf8.begin(), utf8.end());
    m_ends.push_back(m_bytes.size());
    return quint32(m_ends.size() - 1);
}

QByteArrayView TextPool::bytes(quint32 place) const
{
    const size_t begin = place == 0 ? 0 : m_ends[place - 1];
    return QByteArrayView(m_bytes.data() + begin, qsizetype(m_ends[place] - begin));
}

// ---- ProductTexts ----

std::pair<quint32, quint32> ProductTexts::operator()(QByteArrayView barcode, QByteArrayView product)
{
    if (m_previous == 0 || m_pool.bytes(m_previous - 1) != barcode) {
        const auto hash = quint32(qHash(barcode));
        m_previous = find(barcode, hash);
        if (m_previous == 0) {
            const quint32 place = m_pool.add(barcode);
            m_pool.add(product);
            insert(hash, place);
            m_previous = place + 1;
        }
    }
    const quint32 place = m_previous - 1;
    if (m_pool.bytes(place + 1) == product)
        return {place, place + 1};
    return {place, m_pool.add(product)};
}

quint32 ProductTexts::find(QByteArrayView barcode, quint32 hash) const
{
    if (m_slots.empty())
        return 0;
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = m_slots[i];
        if (slot.placePlusOne == 0)
            return 0;
        if (slot.hash == hash && m_pool.bytes(slot.placePlusOne - 1) == barcode)
            return slot.placePlusOne;
    }
}

void ProductTexts::insert(quint32 hash, quint32 place)
{
    if ((m_used + 1) * 2 > m_slots.size())
        grow();
    put(Slot{hash, place + 1});
    ++m_used;
}

void ProductTexts::put(const Slot& slot)
{
    const size_t mask = m_slots.size() - 1;
    size_t i = slot.hash & mask;
    while (m_slots[i].placePlusOne != 0)
        i = (i + 1) & mask;
    m_slots[i] = slot;
}

void ProductTexts::grow()
{
    std::vector<Slot> old(std::max<size_t>(1024, m_slots.size() * 2));
    old.swap(m_slots);
    for (const Slot& slot : old)
        if (slot.placePlusOne != 0)
            put(slot);
}

// ---- FewTexts ----

quint32 FewTexts::operator()(QByteArrayView utf8)
{
    for (const quint32 place : m_kept)
        if (m_pool.bytes(place) == utf8)
            return place;
    // A column with more values than expected (weighed goods' quantities) would make the search slow: the
    // texts beyond the first few share only with the line before.
    if (m_kept.size() < kSearched) {
        m_kept.push_back(m_pool.add(utf8));
        return m_kept.back();
    }
    return m_others(utf8);
}

// ---- RunTexts ----

quint32 RunTexts::operator()(QByteArrayView utf8)
{
    if (!m_hasPrevious || m_pool.bytes(m_previous) != utf8) {
        m_previous = m_pool.add(utf8);
        m_hasPrevious = true;
    }
    return m_previous;
}
