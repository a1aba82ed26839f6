#include "ScheduleTexts.h"

#include "settings/LanguageBlocks.h"

namespace valdora::schedule {

namespace {

using Texts = LanguageBlocks<ScheduleText>;
using Block = Texts::Block;

// In the order of ScheduleText. French keeps an unbreakable blank before a colon, as the suite's
// French texts do.
constexpr Block English{
    "Sc&hedule...",
    "Schedule of %1",
    "Button: %1",
    "Runs",
    "&Off",
    "Every &day at",
    "Every &hour",
    "At &log-in",
    "Contacts",
    "&All contacts",
    "Saved loo&kup file:",
    "&Browse...",
    "Lookup files (*.LKU)|*.LKU",
    "Choose a saved lookup file",
    "Database: %1",
    "Not scheduled.",
    "Runs next: %1",
    "Runs at the next log-in.",
    "Runs at the next start of the machine.",
    "Kept as a systemd user timer.",
    "Kept in the crontab.",
    "Choose the saved lookup file the run covers.",
    "The lookup file %1 is not there.",
    "No database is open: a schedule runs on the database open now.",
    "%1 is scheduled. %2",
    "%1 is no longer scheduled.",
    "The schedule of %1 was not written: %2",
};

constexpr Block French{
    "Plani&fier...",
    "Planification de %1",
    "Bouton\u00a0: %1",
    "Ex\u00e9cutions",
    "&D\u00e9sactiv\u00e9e",
    "Chaque &jour \u00e0",
    "Chaque &heure",
    "\u00c0 l'ou&verture de session",
    "Contacts",
    "&Tous les contacts",
    "Fichier de re&cherche enregistr\u00e9\u00a0:",
    "&Parcourir...",
    "Fichiers de recherche (*.LKU)|*.LKU",
    "Choisir un fichier de recherche enregistr\u00e9",
    "Base de donn\u00e9es\u00a0: %1",
    "Non planifi\u00e9.",
    "Prochaine ex\u00e9cution\u00a0: %1",
    "S'ex\u00e9cute \u00e0 la prochaine ouverture de session.",
    "S'ex\u00e9cute au prochain d\u00e9marrage de la machine.",
    "Enregistr\u00e9 comme minuteur utilisateur systemd.",
    "Enregistr\u00e9 dans la crontab.",
    "Choisissez le fichier de recherche enregistr\u00e9 que l'ex\u00e9cution couvre.",
    "Le fichier de recherche %1 n'existe pas.",
    "Aucune base de donn\u00e9es n'est ouverte\u00a0: une planification s'ex\u00e9cute sur la base ouverte "
    "maintenant.",
    "%1 est planifi\u00e9. %2",
    "%1 n'est plus planifi\u00e9.",
    "La planification de %1 n'a pas \u00e9t\u00e9 enregistr\u00e9e\u00a0: %2",
};

constexpr Block German{
    "&Zeitplan...",
    "Zeitplan von %1",
    "Schaltfl\u00e4che: %1",
    "L\u00e4ufe",
    "&Aus",
    "&T\u00e4glich um",
    "&St\u00fcndlich",
    "Bei der &Anmeldung",
    "Kontakte",
    "Alle &Kontakte",
    "Gespeicherte Such&datei:",
    "&Durchsuchen...",
    "Suchdateien (*.LKU)|*.LKU",
    "Gespeicherte Suchdatei w\u00e4hlen",
    "Datenbank: %1",
    "Nicht geplant.",
    "N\u00e4chster Lauf: %1",
    "L\u00e4uft bei der n\u00e4chsten Anmeldung.",
    "L\u00e4uft beim n\u00e4chsten Start des Rechners.",
    "Als systemd-Benutzer-Timer gespeichert.",
    "In der crontab gespeichert.",
    "W\u00e4hlen Sie die gespeicherte Suchdatei, deren Kontakte der Lauf umfasst.",
    "Die Suchdatei %1 ist nicht vorhanden.",
    "Keine Datenbank ist ge\u00f6ffnet: Ein Zeitplan l\u00e4uft auf der jetzt ge\u00f6ffneten Datenbank.",
    "%1 ist geplant. %2",
    "%1 ist nicht mehr geplant.",
    "Der Zeitplan von %1 wurde nicht geschrieben: %2",
};

constexpr Texts All{English, French, German};
static_assert(All.complete());

} // namespace

QString scheduleText(qint16 languageBase, ScheduleText id)
{
    return All.text(languageBase, id);
}

} // namespace valdora::schedule
