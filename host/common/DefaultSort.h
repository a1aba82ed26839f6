#pragma once

#include "host/HostTypes.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <string_view>
#include <vector>

namespace valdora::host {

/// The host's default sort of all contacts: company, then contact name, each without regard to case
/// exactly as QString::compare(Qt::CaseInsensitive) orders two texts, then the unique id. Each name is
/// folded once, as it is added, so that the sort compares plain code units instead of folding both
/// texts again in each of its n log n comparisons (most of a large Query's time went there).
class DefaultSort {
public:
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
    struct Entry {
        ContactId uid;
        qint64 record = 0;
        Folded company;
        Folded contact;
    };

    Folded fold(QStringView text);
    Folded fold(QByteArrayView utf8);
    int compare(const Folded& left, const Folded& right) const;
    bool less(const Entry& left, const Entry& right) const;

    std::vector<Entry> m_entries;
    std::u16string m_narrow;
    std::u32string m_wide;
};

} // namespace valdora::host
