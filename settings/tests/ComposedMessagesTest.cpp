#include "settings/ComposedMessages.h"

#include <gtest/gtest.h>

namespace valdora {
namespace {

const Messages& english()
{
    static const Messages messages(MessageTable::valdora(), 300);
    return messages;
}

const Messages& french()
{
    static const Messages messages(MessageTable::valdora(), 1300);
    return messages;
}

const Messages& german()
{
    static const Messages messages(MessageTable::valdora(), 2300);
    return messages;
}

TEST(ComposedMessages, SaveContactFirstHasTwoBlanksBeforeTheTitle)
{
    EXPECT_EQ(saveContactFirstText(english(), QStringLiteral("Valdora")),
              QStringLiteral("Please save the current contact before using  Valdora.\r\n"
                             "If ContactHost does not allow you to, go to the next contact and come back."));
    EXPECT_EQ(saveContactFirstText(german(), QStringLiteral("Valdora")),
              QStringLiteral(
                  "Bitte speichern Sie den aktuellen Kontakt vor der Verwendung von  Valdora.\r\n"
                  "Wenn ContactHost dies nicht zulässt, gehen Sie zum nächsten Kontakt und wieder zurück."));
}

TEST(ComposedMessages, MissingButtonNamesTheButtonAndItsTarget)
{
    const QString button = QStringLiteral("~100.ini");
    EXPECT_EQ(missingButtonText(english(), button, QStringLiteral("Invoice")),
              QStringLiteral("The button ~100.ini does not exist.\r\n"
                             "You will need to change the Trigger settings of the Invoice field\r\n"
                             "for this error message to stop appearing."));
    EXPECT_EQ(missingButtonText(french(), button, QStringLiteral("Facture")),
              QStringLiteral("Le bouton ~100.ini n'existe pas.\r\n"
                             "Vous devrez modifier les paramètres de déclenchement du Facture champ\r\n"
                             "pour que ce message d'erreur ne s'affiche plus."));
    // A missing file has no target to read: no gap where its name would stand.
    EXPECT_TRUE(missingButtonText(english(), button, QString()).contains(u"settings of the field\r\n"));
    EXPECT_TRUE(missingButtonText(german(), button, QString()).contains(u"ändern für das Feld\r\n"));
}

TEST(ComposedMessages, ContactLockedClosesTheParenthesisWithItsMessage)
{
    EXPECT_EQ(
        contactLockedText(english(), QStringLiteral("C-17"), QStringLiteral("North")),
        QStringLiteral("Contact: C-17 (North) is locked (probably by another user) and cannot be edited.\r\n"
                       "Consult the error.log file in the app folder for more information."));
    // The whole message in the program's language.
    EXPECT_TRUE(contactLockedText(german(), QStringLiteral("C-17"), QStringLiteral("North"))
                    .startsWith(QStringLiteral("Kontakt: C-17 (North")));
}

TEST(ComposedMessages, ErrorLogLineNamesValueAndTarget)
{
    UnwrittenValue unwritten{.when = QStringLiteral("03/01/2026 14:05:09"),
                             .contact = QStringLiteral("C-17"),
                             .company = QStringLiteral("North"),
                             .value = QStringLiteral("INV-0042"),
                             .targetName = QStringLiteral("Invoice")};
    EXPECT_EQ(
        errorLogLineText(english(), unwritten),
        QStringLiteral("03/01/2026 14:05:09 C-17 (North) Could not write 'INV-0042' to field 'Invoice'."));
    EXPECT_EQ(errorLogLineText(german(), unwritten),
              QStringLiteral(
                  "03/01/2026 14:05:09 C-17 (North) Konnte nicht schreiben 'INV-0042' in Feld 'Invoice'."));

    unwritten = UnwrittenValue{};
    EXPECT_EQ(errorLogLineText(english(), unwritten), QStringLiteral("  () Could not write '' to field ''."));
}

TEST(ComposedMessages, YearsAndMonthsShareTheSignAndEndInABlank)
{
    EXPECT_EQ(yearsAndMonthsText(english(), 95), QStringLiteral("7 years 11 months "));
    EXPECT_EQ(yearsAndMonthsText(english(), -13), QStringLiteral("-1 years -1 months "));
    EXPECT_EQ(yearsAndMonthsText(english(), 0), QStringLiteral("0 years 0 months "));
    EXPECT_EQ(yearsAndMonthsText(french(), 24), QStringLiteral("2 ans 0 mois "));
}

TEST(ComposedMessages, ConfirmationNoteAndNoticeNameTheButton)
{
    EXPECT_EQ(confirmationNoteText(english(), QStringLiteral("Invoice no.")),
              QStringLiteral("To get rid of this confirmation screen, launch Valdora and go to the Settings "
                             "screen of the Invoice no. button."));
    EXPECT_EQ(updatingNoticeText(english(), QStringLiteral("Invoice")),
              QStringLiteral("Updating Invoice..."));
}

TEST(ComposedMessages, TitleAndNameCompositions)
{
    const QString title = QStringLiteral("Valdora");
    EXPECT_EQ(launchTooltipText(english(), title), QStringLiteral("Click to launch Valdora"));
    EXPECT_EQ(databaseLockedText(english(), title),
              QStringLiteral(
                  "Your database appears to be locked. Please remove the lock before launching Valdora."));
    EXPECT_EQ(deleteButtonQuestion(english(), QStringLiteral("Invoice no.")),
              QStringLiteral("Are you sure you want to delete the button called Invoice no.?"));
}

} // namespace
} // namespace valdora
