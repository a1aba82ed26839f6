#pragma once

#include <QString>

#include <initializer_list>
#include <utility>

namespace valdora {

/// Chooses the singular or plural words of a text for a count. Our own texts spell the words that
/// follow a count as "{N:one|other}", N being the number of the placeholder (%N) that the count fills:
/// "%1 {1:contact|contacts} written". Each language has its rule: English and German take the singular
/// for 1 alone, French for 0 and 1.
QString withPluralForms(QString text, qint16 languageBase,
                        std::initializer_list<std::pair<int, qint64>> counts);

} // namespace valdora
