#pragma once

#include <QString>
#include <QStringList>

namespace valdora {

/// Lists the files and folders that match a path pattern such as "<button folder>*.*". Element 0 is
/// the first name the listing returns ("." for a folder listing); elements 1 onwards are the other
/// names in listing order, without "." and "..". A pattern that matches nothing gives the single,
/// empty element 0. The listing order is by name, byte-wise, so it is the same on every machine.
class FileLister {
public:
    QStringList list(const QString& pattern) const;
};

} // namespace valdora
