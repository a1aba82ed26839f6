#pragma once

#include "host/HostTypes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <string_view>
#include <unordered_set>
#include <vector>

namespace valdora::host {

/// The host's default sort of all contacts: company, then contact name, each without regard to case
/// exactly as QString::compare(Qt::CaseInsensitive) orders two texts, then the unique id. Each name is
/// folded once, as it is added, and a name that many contacts share (a company) is kept and ranked
/// once: the sort of the contacts then compares two numbers, instead of folding both texts again in
/// each of its n log n comparisons (most of a large Query's time went there).
class DefaultSort {
public:
    DefaultSort();
    DefaultSort(const DefaultSort&) = delete;
    DefaultSort& operator=(const DefaultSort&) = delete;

    /// Room for that many contacts.
    void reserve(qsizetype contacts);
    /// Adds a contact with its company and contact name.
    void add(const ContactId& uid, qint64 record, QStringView company, QStringView contact);
    /// The same with the names as stored, in UTF-8: a name in plain ASCII (nearly all) is folded from
    /// its bytes, without a QString made and dropped for it.
    void add(const ContactId& uid, qint64 record, QByteArrayView company, QByteArrayView contact);
    /// The contacts added, sorted: their ids and records, paired by position. Leaves this empty.
    void takeSorted(QStringList& ids, QList<qint64>& records);

private:
    /// Where a folded name lies: in the narrow store (code units) or, when it holds a character beyond
    /// the 16-bit plane, in the wide one (code points).
    struct Folded {
        std::size_t start = 0;
        quint32 length = 0;
        bool wide = false;
    };
    /// A contact with its names (their numbers among the distinct names; once ranked, their places).
    struct Entry {
        ContactId uid;
        qint64 record = 0;
        quint32 company = 0;
        quint32 contact = 0;
    };
    /// Tells the distinct names apart by their folded units, wherever they are kept.
    struct NameHash {
        const DefaultSort* sort;
        std::size_t operator()(quint32 name) const;
    };
    struct NameEqual {
        const DefaultSort* sort;
        bool operator()(quint32 left, quint32 right) const;
    };

    Folded fold(QStringView text);
    Folded fold(QByteArrayView utf8);
    /// The number of that name, just folded at the end of its store: a new one, or the one the same
    /// name had before (its units are then dropped again).
    quint32 nameOf(const Folded& folded);
    char32_t unit(const Folded& text, std::size_t i) const;
    int compare(const Folded& left, const Folded& right) const;

    std::vector<Entry> m_entries;
    std::vector<Folded> m_names;
    std::unordered_set<quint32, NameHash, NameEqual> m_distinct;
    std::u16string m_narrow;
    std::u32string m_wide;
};

/// A contact's place in DefaultSort's order as bytes, for a database to keep in an index: two keys
/// compare byte by byte (as SQLite compares BLOBs) as DefaultSort orders their contacts. Company and
/// contact name come as stored, in UTF-8; the unique id last decides between equal names.
QByteArray defaultSortKey(QByteArrayView company, QByteArrayView contact, QStringView uid);

} // namespace valdora::host
