#pragma once

#include "ButtonFile.h"
#include "ButtonModel.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

namespace valdora {

/// What a binding's load and save see beside the file: the button as loaded so far (its caption)
/// or as saved (its target and append separator), and the program folder for defaults.
struct KeyBindingContext {
    const ButtonFile& file;
    const ButtonValue& button;
    QString programFolder;
    /// Follows every key name: the row number of a repeated row ("Cond3"), else empty.
    QString suffix;

    QString read(const QString& key, const QString& defaultValue = {}) const
    {
        return file.read(key + suffix, defaultValue);
    }
    bool isOn(const QString& key, const QString& defaultValue = QStringLiteral("0")) const
    {
        return file.isOn(key + suffix, defaultValue);
    }
    bool write(const QString& key, const QString& value) const { return file.write(key + suffix, value); }
};

/// One key of a button file, or a few keys that belong together (a field's name, id and type; an
/// option group), bound to one member of S: how it is read with the editor's default, and how it is
/// written.
template <class S> struct KeyBinding {
    std::function<void(const KeyBindingContext&, S&)> load;
    /// False when the file could not be written.
    std::function<bool(const KeyBindingContext&, const S&)> save;
};

/// The keys of S in the order the editor writes them, built one binding a call. A member is named by
/// a pointer to member or by an accessor that takes S (const or not) and returns the member.
template <class S> class KeyTable {
public:
    /// Text, `defaultValue` when absent.
    template <class Access>
    KeyTable& text(const QString& key, Access access, const QString& defaultValue = {})
    {
        return bind(
            access, [=](const KeyBindingContext& c, QString& v) { v = c.read(key, defaultValue); },
            [=](const KeyBindingContext& c, const QString& v) { return c.write(key, v); });
    }
    /// Text written only when not empty; a file keeps its earlier value otherwise.
    template <class Access> KeyTable& textIfSet(const QString& key, Access access)
    {
        return bind(
            access, [=](const KeyBindingContext& c, QString& v) { v = c.read(key); },
            [=](const KeyBindingContext& c, const QString& v) { return v.isEmpty() || c.write(key, v); });
    }
    /// A flag: on when the key reads "1"; off when absent.
    template <class Access> KeyTable& flag(const QString& key, Access access)
    {
        return bind(
            access, [=](const KeyBindingContext& c, bool& v) { v = c.isOn(key); },
            [=](const KeyBindingContext& c, bool v) {
                return c.write(key, v ? QStringLiteral("1") : QStringLiteral("0"));
            });
    }
    /// A whole number in decimal; `defaultValue` when absent or not a number.
    template <class Access> KeyTable& number(const QString& key, Access access, int defaultValue)
    {
        return bind(
            access,
            [=](const KeyBindingContext& c, int& v) {
                bool whole = false;
                const int read = c.read(key).toInt(&whole);
                v = whole ? read : defaultValue;
            },
            [=](const KeyBindingContext& c, int v) { return c.write(key, QString::number(v)); });
    }
    /// A field's three keys: `nameKey`, and its id and type under the names ButtonKey gives them.
    template <class Access> KeyTable& field(const QString& nameKey, Access access)
    {
        const QString keys[] = {nameKey, ButtonKey::idOf(nameKey), ButtonKey::typeOf(nameKey)};
        return bind(
            access,
            [=](const KeyBindingContext& c, FieldChoice& v) {
                v = {c.read(keys[0]), c.read(keys[1]), c.read(keys[2])};
            },
            [=](const KeyBindingContext& c, const FieldChoice& v) {
                return c.write(keys[0], v.name) && c.write(keys[1], v.id) && c.write(keys[2], v.type);
            });
    }
    /// Rows of the same keys, numbered from 0: the keys of `rowTable` followed by the row's number,
    /// row after row ("Cond0", "Field0", ..., "Cond1", ...).
    template <class Access, class Row> KeyTable& rows(Access access, const KeyTable<Row>& rowTable)
    {
        return bind(
            access,
            [=](const KeyBindingContext& c, auto& rows) {
                for (std::size_t i = 0; i < rows.size(); ++i)
                    rowTable.load(rowContext(c, i), rows[i]);
            },
            [=](const KeyBindingContext& c, const auto& rows) {
                for (std::size_t i = 0; i < rows.size(); ++i) {
                    if (!rowTable.save(rowContext(c, i), rows[i]))
                        return false;
                }
                return true;
            });
    }
    /// An option group of one key per option, held as the chosen option's index. The option
    /// `defaultChoice` reads "1" when absent, the others "0"; when several read "1" the last one is
    /// chosen, and NoChoice when none does. The save writes "1" for the chosen one, "0" for the others.
    template <class Access> KeyTable& choice(const QStringList& keys, Access access, int defaultChoice)
    {
        return bind(
            access,
            [=](const KeyBindingContext& c, int& v) {
                v = NoChoice;
                for (int k = 0; k < keys.size(); ++k) {
                    if (c.isOn(keys[k], k == defaultChoice ? QStringLiteral("1") : QStringLiteral("0")))
                        v = k;
                }
            },
            [=](const KeyBindingContext& c, int v) {
                for (int k = 0; k < keys.size(); ++k) {
                    if (!c.write(keys[k], k == v ? QStringLiteral("1") : QStringLiteral("0")))
                        return false;
                }
                return true;
            });
    }
    /// A key made from the rest of the button at the save and never read back.
    KeyTable& derived(const QString& key, std::function<QString(const KeyBindingContext&, const S&)> make)
    {
        m_bindings.push_back(
            {[](const KeyBindingContext&, S&) {},
             [=](const KeyBindingContext& c, const S& s) { return c.write(key, make(c, s)); }});
        return *this;
    }
    /// A binding written out in full, for a key whose default depends on the context.
    KeyTable& custom(KeyBinding<S> binding)
    {
        m_bindings.push_back(std::move(binding));
        return *this;
    }

    void load(const KeyBindingContext& context, S& value) const
    {
        for (const KeyBinding<S>& binding : m_bindings)
            binding.load(context, value);
    }
    bool save(const KeyBindingContext& context, const S& value) const
    {
        for (const KeyBinding<S>& binding : m_bindings) {
            if (!binding.save(context, value))
                return false;
        }
        return true;
    }

private:
    static KeyBindingContext rowContext(const KeyBindingContext& c, std::size_t row)
    {
        return {c.file, c.button, c.programFolder, QString::number(row)};
    }

    template <class Access> static decltype(auto) member(Access access, auto& value)
    {
        if constexpr (std::is_member_object_pointer_v<Access>)
            return (value.*access);
        else
            return access(value);
    }

    template <class Access, class Load, class Save> KeyTable& bind(Access access, Load load, Save save)
    {
        m_bindings.push_back(
            {[=](const KeyBindingContext& c, S& s) { load(c, member(access, s)); },
             [=](const KeyBindingContext& c, const S& s) { return save(c, member(access, s)); }});
        return *this;
    }

    std::vector<KeyBinding<S>> m_bindings;
};

} // namespace valdora
