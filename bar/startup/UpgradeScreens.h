#pragma once

#include <QString>

#include <optional>
#include <utility>

namespace valdora::bar {

/// The user's answer to the question whether the old settings are to be converted.
struct UpgradeAnswer {
    enum class Kind {
        Yes,          ///< convert the settings kept in the per-user store
        ExistingFile, ///< use a settings file another workstation already converted into
        Cancelled,    ///< the window was closed: no upgrade, and the program ends
    };
    Kind kind = Kind::Cancelled;
    /// The chosen settings file when kind is ExistingFile; empty otherwise.
    QString existingFile;

    static UpgradeAnswer yes() { return {Kind::Yes, {}}; }
    static UpgradeAnswer existing(QString path) { return {Kind::ExistingFile, std::move(path)}; }
    static UpgradeAnswer cancelled() { return {Kind::Cancelled, {}}; }
    friend bool operator==(const UpgradeAnswer&, const UpgradeAnswer&) = default;
};

/// The windows the upgrade asks the user through, each modal. Valdora shows real windows; tests
/// answer from a script. The answers only say what the user chose: storing them is the upgrade's.
class UpgradeScreens {
public:
    virtual ~UpgradeScreens() = default;

    /// Asks whether to convert the settings, or which existing settings file to use instead.
    virtual UpgradeAnswer askUpgrade() = 0;
    /// Asks where the new settings file is to be saved; nullopt when the user closed the window
    /// without choosing a file.
    virtual std::optional<QString> askSettingsFileLocation() = 0;
};

} // namespace valdora::bar
