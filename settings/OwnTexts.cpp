#include "OwnTexts.h"

#include "LanguageBlocks.h"

namespace valdora {

namespace {

using Texts = LanguageBlocks<OwnText>;
using Block = Texts::Block;

// One block per language, in the order of OwnText. French keeps its blank before a colon and a
// question mark (unbreakable, with those inside its quotes, so that a wrapped line never starts with
// one), as the table's French rows do. Accelerators differ from those of the table's rows
// shown beside them (the scope dialog's buttons, the button menu, the tray menu).
constexpr Block English{
    "&Preview...",
    "A run over a lookup or all contacts is kept in Valdora's run journal: \"Undo a run...\" in the "
    "bar's menu takes it back.",
    "Preview: %1",
    "Computing... %1 {1:contact|contacts}",
    "%1 {1:contact|contacts} would be written, %2 unchanged, %3 locked now",
    "Preview stopped after %1 {1:contact|contacts}",
    "Contact",
    "Company",
    "Field",
    "Present value",
    "Would write",
    "Action",
    "write",
    "append",
    "overwrite",
    "unchanged",
    "keep (nothing computed)",
    "skip (the target is not empty)",
    "locked now",
    "Changes &only",
    "&Export CSV...",
    "&Run",
    "&Close",
    "&Stop",
    "CSV files (*.csv)|*.csv",
    "Export the preview",
    "The file %1 could not be written: %2",
    "&Undo a run...",
    "&Retry failed contacts...",
    "The run journal holds nothing to undo.",
    "The run journal holds no failed contacts.",
    "Undo run %1 of \"%2\" (%3)?\n\n%4 {4:field|fields} of %5 {5:contact|contacts} will get back the value "
    "they held before, "
    "where they still hold what the run wrote. A field changed since is left alone and listed.",
    "interrupted",
    "%1, %2: \"%3\" back to \"%4\"",
    "... and %1 more",
    "AutoNumber counters are not rolled back: the numbers this run handed out are never handed out again.",
    "Undo of run %1: %2 {2:contact|contacts} written back (%3 {3:field|fields}).",
    "Left alone, changed since the run: %1, %2 holds \"%3\", the run wrote \"%4\"",
    "Locked by another user, not written back: %1 (undo run %2 again to retry)",
    "No longer in the database: %1",
    "Retry the locked contacts?",
    "Run \"%1\" again on the %2 {2:contact|contacts} of run %3 whose write failed?",
    "%1 {1:contact|contacts} could not be written (locked by another user, or the write was not confirmed). "
    "Retry them now?",
    "Retry of run %1: %2 {2:contact|contacts} written, %3 still failed.",
    "Run %1 is an undo of run %2: undo run %2 again to write back what it left.",
    "Run %1 wrote the database %2, not the open database.",
    "The run journal holds no run %1.",
    "Run %1 has no failed contacts.",
    "&Retry",
    "&Abort",
    "&Ignore",
    "stopped halfway",
    "%1 {1:contact|contacts} of run %2 could not be taken back: %3 locked by another user, %4 changed since "
    "the run, %5 "
    "no longer in the database.",
    "Run %1 did not finish: every contact it wrote was taken back.",
    "Run %1 is the undo of run %2: an undo is not undone. Run the button again to write its values again.",
    "Run %1 was undone by run %2.",
    "The run journal %1 could not be read. It was kept as %2, and a new journal was started.",
    "Valdora cannot start: its settings store %1 cannot be written. Check that this folder exists and that "
    "you may write in it.",
    "The button %1 is a member of these Combo buttons: %2. Without it they will fail at their next run. "
    "Delete it anyway?",
    "The number of days must be a whole number from -32768 to 32767.",
    "The Start At box must hold a whole number of 0 or more, in digits only.",
    "Value #%1 must be a number: a multiplication or division of anything else always gives the invalid "
    "value.",
    "Runs of the journal",
    "Run",
    "Button",
    "Contacts covered",
    "Started",
    "Contacts written",
    "How it ended",
    "Undone",
    "Failed",
    "finished",
    "running",
    "failed contacts of run %1",
    "by run %1",
    "&Undo...",
    "Re&try failed contacts...",
    "Choose a run in the list.",
    "\"%1\": %2 {2:contact|contacts} written, %3 unchanged, %4 failed.",
    "Undo it with \"Undo a run...\" in the bar's menu (run %1).",
    "Starting...",
    "Counting contacts: %1",
    "%1 of %2",
    "%1 s left",
    "%1 min %2 s left",
    "Waiting for your answer to Valdora's message...",
    "Save to Another Location...",
    "More...",
    "days",
    "AutoNumber file (*.num)|*.num",
    "Contact: ",
};

constexpr Block French{
    "A&perçu...",
    "Une exécution sur la recherche courante ou sur tous les contacts est gardée dans le journal des "
    "exécutions de Valdora\u00a0: «\u00a0Annuler une exécution...\u00a0» dans le menu de la barre "
    "l'annule.",
    "Aperçu\u00a0: %1",
    "Calcul en cours... %1 {1:contact|contacts}",
    "%1 {1:contact serait modifié|contacts seraient modifiés}, %2 {2:inchangé|inchangés}, %3 "
    "{3:verrouillé|verrouillés} en ce moment",
    "Aperçu arrêté après %1 {1:contact|contacts}",
    "Contact",
    "Société",
    "Champ",
    "Valeur actuelle",
    "Valeur écrite",
    "Action",
    "écrire",
    "ajouter",
    "remplacer",
    "inchangé",
    "conserver (aucune valeur calculée)",
    "ignorer (le champ cible n'est pas vide)",
    "verrouillé en ce moment",
    "&Modifications seulement",
    "&Exporter en CSV...",
    "E&xécuter",
    "&Fermer",
    "A&rrêter",
    "Fichiers CSV (*.csv)|*.csv",
    "Exporter l'aperçu",
    "Impossible d'écrire le fichier %1\u00a0: %2",
    "A&nnuler une exécution...",
    "&Réessayer les contacts en échec...",
    "Le journal des exécutions ne contient rien à annuler.",
    "Le journal des exécutions ne contient aucun contact en échec.",
    "Annuler l'exécution %1 de «\u00a0%2\u00a0» (%3)\u00a0?\n\n%4 {4:champ|champs} de %5 "
    "{5:contact|contacts} vont retrouver leur "
    "valeur "
    "d'avant, là où ils contiennent encore ce que l'exécution a écrit. Un champ modifié depuis est laissé "
    "tel quel et signalé.",
    "interrompue",
    "%1, %2\u00a0: «\u00a0%3\u00a0» redevient «\u00a0%4\u00a0»",
    "... et %1 autres",
    "Les compteurs de numérotation automatique ne sont pas remis en arrière\u00a0: les numéros attribués par "
    "cette exécution ne seront jamais réattribués.",
    "Annulation de l'exécution %1\u00a0: %2 {2:contact rétabli|contacts rétablis} (%3 {3:champ|champs}).",
    "Laissé tel quel, modifié depuis l'exécution\u00a0: %1, %2 contient «\u00a0%3\u00a0», l'exécution avait "
    "écrit «\u00a0%4\u00a0»",
    "Verrouillé par un autre utilisateur, non rétabli\u00a0: %1 (annulez de nouveau l'exécution %2 pour "
    "réessayer)",
    "N'existe plus dans la base de données\u00a0: %1",
    "Réessayer les contacts verrouillés\u00a0?",
    "Exécuter à nouveau «\u00a0%1\u00a0» sur {2:le|les} %2 {2:contact|contacts} de l'exécution %3 dont "
    "l'écriture a "
    "échoué\u00a0?",
    "%1 {1:contact n'a pas pu être écrit (verrouillé|contacts n'ont pas pu être écrits (verrouillés} par un "
    "autre utilisateur, "
    "ou écriture non confirmée). {1:Le|Les} réessayer maintenant\u00a0?",
    "Nouvel essai de l'exécution %1\u00a0: %2 {2:contact écrit|contacts écrits}, %3 toujours en échec.",
    "L'exécution %1 annule l'exécution %2\u00a0: annulez de nouveau l'exécution %2 pour rétablir ce qui "
    "reste.",
    "L'exécution %1 a écrit dans la base de données %2, qui n'est pas la base ouverte.",
    "Le journal des exécutions ne contient pas d'exécution %1.",
    "L'exécution %1 n'a aucun contact en échec.",
    "&Réessayer",
    "&Abandonner",
    "&Ignorer",
    "arrêtée en cours de route",
    "%1 {1:contact de l'exécution %2 n'a pas pu être rétabli|contacts de l'exécution %2 n'ont pas pu être "
    "rétablis}\u00a0: %3 verrouillés par un autre "
    "utilisateur, %4 modifiés depuis l'exécution, %5 n'existent plus dans la base de données.",
    "L'exécution %1 ne s'est pas terminée\u00a0: chaque contact qu'elle a écrit a été rétabli.",
    "L'exécution %1 est l'annulation de l'exécution %2\u00a0: une annulation ne s'annule pas. Exécutez à "
    "nouveau le bouton pour réécrire ses valeurs.",
    "L'exécution %1 a été annulée par l'exécution %2.",
    "Le journal des exécutions %1 n'a pas pu être lu. Il a été conservé sous le nom %2, et un nouveau "
    "journal a été commencé.",
    "Valdora ne peut pas démarrer\u00a0: son dossier de réglages %1 n'est pas accessible en écriture. "
    "Vérifiez que ce dossier existe et que vous pouvez y écrire.",
    "Le bouton %1 fait partie de ces boutons combinés\u00a0: %2. Sans lui, ils échoueront à leur "
    "prochaine exécution. Le supprimer quand même\u00a0?",
    "Le nombre de jours doit être un nombre entier de -32768 à 32767.",
    "Le numéro de départ doit être un nombre entier de 0 ou plus, écrit en chiffres seulement.",
    "La valeur n°\u00a0%1 doit être un nombre\u00a0: une multiplication ou une division de toute autre "
    "chose donne toujours la valeur invalide.",
    "Exécutions du journal",
    "Exécution",
    "Bouton",
    "Contacts concernés",
    "Début",
    "Contacts écrits",
    "Fin",
    "Annulée",
    "En échec",
    "terminée",
    "en cours",
    "contacts en échec de l'exécution %1",
    "par l'exécution %1",
    "A&nnuler...",
    "&Réessayer les contacts en échec...",
    "Choisissez une exécution dans la liste.",
    "«\u00a0%1\u00a0»\u00a0: %2 {2:contact écrit|contacts écrits}, %3 {3:inchangé|inchangés}, %4 en échec.",
    "Pour l'annuler\u00a0: «\u00a0Annuler une exécution...\u00a0» dans le menu de la barre (exécution %1).",
    "Démarrage...",
    "Comptage des contacts\u00a0: %1",
    "%1 sur %2",
    "encore %1\u00a0s",
    "encore %1\u00a0min %2\u00a0s",
    "En attente de votre réponse au message de Valdora...",
    "Enregistrer à un autre emplacement...",
    "Plus...",
    "jours",
    "Fichier de numérotation (*.num)|*.num",
    "Contact\u00a0: ",
};

constexpr Block German{
    "&Vorschau...",
    "Ein Lauf über die aktuelle Suche oder alle Kontakte wird im Laufprotokoll von Valdora festgehalten: "
    "„Einen Lauf rückgängig machen...“ im Menü der Leiste nimmt ihn zurück.",
    "Vorschau: %1",
    "Berechnung läuft... %1 {1:Kontakt|Kontakte}",
    "%1 {1:Kontakt würde|Kontakte würden} geschrieben, %2 unverändert, %3 zurzeit gesperrt",
    "Vorschau nach %1 {1:Kontakt|Kontakten} angehalten",
    "Kontakt",
    "Firma",
    "Feld",
    "Aktueller Wert",
    "Würde schreiben",
    "Aktion",
    "schreiben",
    "anhängen",
    "überschreiben",
    "unverändert",
    "beibehalten (nichts berechnet)",
    "überspringen (Zielfeld nicht leer)",
    "zurzeit gesperrt",
    "Nur Än&derungen",
    "Als CSV &exportieren...",
    "&Ausführen",
    "&Schließen",
    "A&nhalten",
    "CSV-Dateien (*.csv)|*.csv",
    "Vorschau exportieren",
    "Die Datei %1 konnte nicht geschrieben werden: %2",
    "Einen Lauf &rückgängig machen...",
    "Fehlgeschlagene Kontakte erneut &versuchen...",
    "Das Laufprotokoll enthält nichts, was rückgängig gemacht werden kann.",
    "Das Laufprotokoll enthält keine fehlgeschlagenen Kontakte.",
    "Lauf %1 von „%2“ (%3) rückgängig machen?\n\n%4 {4:Feld|Felder} von %5 {5:Kontakt|Kontakten} erhalten "
    "ihren früheren Wert "
    "zurück, sofern sie noch enthalten, was der Lauf geschrieben hat. Ein seither geändertes Feld bleibt "
    "unverändert und wird aufgeführt.",
    "unterbrochen",
    "%1, %2: „%3“ wird wieder zu „%4“",
    "... und %1 weitere",
    "Die Zähler der automatischen Nummerierung werden nicht zurückgesetzt: die von diesem Lauf vergebenen "
    "Nummern werden nie wieder vergeben.",
    "Rückgängig gemachter Lauf %1: %2 {2:Kontakt|Kontakte} wiederhergestellt (%3 {3:Feld|Felder}).",
    "Unverändert gelassen, seit dem Lauf geändert: %1, %2 enthält „%3“, der Lauf schrieb „%4“",
    "Von einem anderen Benutzer gesperrt, nicht wiederhergestellt: %1 (Lauf %2 erneut rückgängig machen, um "
    "es erneut zu versuchen)",
    "Nicht mehr in der Datenbank: %1",
    "Gesperrte Kontakte erneut versuchen?",
    "„%1“ erneut auf {2:den|die} %2 {2:Kontakt|Kontakte} von Lauf %3 anwenden, {2:dessen|deren} Schreiben "
    "fehlgeschlagen ist?",
    "%1 {1:Kontakt konnte|Kontakte konnten} nicht geschrieben werden (von einem anderen Benutzer gesperrt, "
    "oder das Schreiben "
    "wurde nicht bestätigt). Jetzt erneut versuchen?",
    "Neuer Versuch von Lauf %1: %2 {2:Kontakt|Kontakte} geschrieben, %3 weiterhin fehlgeschlagen.",
    "Lauf %1 macht Lauf %2 rückgängig: machen Sie Lauf %2 erneut rückgängig, um den Rest wiederherzustellen.",
    "Lauf %1 hat in die Datenbank %2 geschrieben, nicht in die geöffnete Datenbank.",
    "Das Laufprotokoll enthält keinen Lauf %1.",
    "Lauf %1 hat keine fehlgeschlagenen Kontakte.",
    "&Wiederholen",
    "&Abbrechen",
    "&Ignorieren",
    "auf halbem Weg angehalten",
    "%1 {1:Kontakt von Lauf %2 konnte|Kontakte von Lauf %2 konnten} nicht wiederhergestellt werden: %3 von "
    "einem anderen Benutzer gesperrt, "
    "%4 seit dem Lauf geändert, %5 nicht mehr in der Datenbank.",
    "Lauf %1 wurde nicht beendet: jeder Kontakt, den er geschrieben hat, wurde wiederhergestellt.",
    "Lauf %1 macht Lauf %2 rückgängig: ein Rückgängigmachen wird nicht rückgängig gemacht. Führen Sie die "
    "Schaltfläche erneut aus, um ihre Werte wieder zu schreiben.",
    "Lauf %1 wurde von Lauf %2 rückgängig gemacht.",
    "Das Laufprotokoll %1 konnte nicht gelesen werden. Es wurde als %2 aufbewahrt, und ein neues Protokoll "
    "wurde begonnen.",
    "Valdora kann nicht starten: in den Einstellungsordner %1 kann nicht geschrieben werden. Prüfen Sie, ob "
    "dieser Ordner existiert und Sie darin schreiben dürfen.",
    "Die Schaltfläche %1 gehört zu diesen Kombi-Schaltflächen: %2. Ohne sie schlagen diese bei ihrer "
    "nächsten Ausführung fehl. Trotzdem löschen?",
    "Die Anzahl der Tage muss eine ganze Zahl von -32768 bis 32767 sein.",
    "Die Startnummer muss eine ganze Zahl ab 0 sein, nur aus Ziffern geschrieben.",
    "Wert Nr. %1 muss eine Zahl sein: eine Multiplikation oder Division mit etwas anderem ergibt immer "
    "den ungültigen Wert.",
    "Läufe im Protokoll",
    "Lauf",
    "Schaltfläche",
    "Erfasste Kontakte",
    "Beginn",
    "Geschriebene Kontakte",
    "Ende",
    "Rückgängig gemacht",
    "Fehlgeschlagen",
    "beendet",
    "läuft",
    "fehlgeschlagene Kontakte von Lauf %1",
    "von Lauf %1",
    "&Rückgängig machen...",
    "Fehlgeschlagene Kontakte erneut &versuchen...",
    "Wählen Sie einen Lauf in der Liste.",
    "„%1“: %2 {2:Kontakt|Kontakte} geschrieben, %3 unverändert, %4 fehlgeschlagen.",
    "Rückgängig machen mit „Einen Lauf rückgängig machen...“ im Menü der Leiste (Lauf %1).",
    "Start...",
    "Kontakte werden gezählt: %1",
    "%1 von %2",
    "noch %1 s",
    "noch %1 min %2 s",
    "Wartet auf Ihre Antwort auf die Meldung von Valdora...",
    "An anderem Ort speichern...",
    "Mehr...",
    "Tage",
    "Nummerndatei (*.num)|*.num",
    "Kontakt: ",
};

constexpr Texts All{English, French, German};
static_assert(All.complete());

} // namespace

QString ownText(qint16 languageBase, OwnText id)
{
    return All.text(languageBase, id);
}

} // namespace valdora
