#pragma once

#include <QByteArrayView>
#include <QString>

#include <utility>
#include <vector>

// The texts of a long history list, each kept once as the engine's UTF-8 bytes in one buffer and known by its
// place; a cell's string is made only when the cell is shown. A year of a big shop is half a million lines,
// which would otherwise hold a string each for their date, barcode, product, quantity and receipt number.
class TextPool
{
public:
    quint32 add(QByteArrayView utf8);
    QByteArrayView bytes(quint32 place) const;
    QString text(quint32 place) const { return QString::fromUtf8(bytes(place)); }
    quint32 size() const { return quint32(m_ends.size()); }

private:
    std::vector<char> m_bytes;
    std::vector<size_t> m_ends; // where each text ends in m_bytes
};

// Keeps each distinct barcode once in the pool with its product name right after it, and gives the places of
// both. A product is looked up by its barcode alone (a barcode nearly always has the one name); a name that
// differs from the one kept for its barcode is added on its own. The lines of one sale skip the look-up.
class ProductTexts
{
public:
    explicit ProductTexts(TextPool& pool) : m_pool(pool) {}

    // The places of the barcode and of the product.
    std::pair<quint32, quint32> operator()(QByteArrayView barcode, QByteArrayView product);

private:
    // An open-addressing table: a slot holds the barcode's hash and its place plus one (0: empty). A hundred
    // thousand products look up in one or two memory reads each, where a node-based map takes several.
    struct Slot
    {
        quint32 hash = 0;
        quint32 placePlusOne = 0;
    };
    quint32 find(QByteArrayView barcode, quint32 hash) const; // the barcode's place plus one, or 0
    void insert(quint32 hash, quint32 place);
    void put(const Slot& slot); // into the first empty slot from its hash on
    void grow();

    TextPool& m_pool;
    std::vector<Slot> m_slots;
    size_t m_used = 0;
    quint32 m_previous = 0; // the place plus one of the barcode of the line before
};

// Adds a text to the pool only when it differs from the one added last: for texts that repeat only from one
// line to the next (receipt numbers, the date-time of a sale), where a look-up would find nothing older.
class RunTexts
{
public:
    explicit RunTexts(TextPool& pool) : m_pool(pool) {}
    quint32 operator()(QByteArrayView utf8);

private:
    TextPool& m_pool;
    quint32 m_previous = 0;
    bool m_hasPrevious = false;
};

// Keeps each distinct text of a column with few values (quantities, tills) once in the pool.
class FewTexts
{
public:
    explicit FewTexts(TextPool& pool) : m_pool(pool), m_others(pool) {}
    quint32 operator()(QByteArrayView utf8);

private:
    static constexpr size_t kSearched = 32;
    TextPool& m_pool;
    std::vector<quint32> m_kept; // few: a linear search is the quickest
    RunTexts m_others;
};
