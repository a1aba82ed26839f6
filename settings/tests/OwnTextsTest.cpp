// Our own texts beyond the message table: every one present in each language, with the placeholders
// its callers fill, and accelerators that do not clash with the table's rows shown beside them. The
// captions of message box buttons, which come from both.
#include "settings/MessageButtonCaptions.h"
#include "settings/MessageTable.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>

namespace valdora {
namespace {

constexpr qint16 Bases[] = {300, 1300, 2300};

QChar accelerator(const QString& caption)
{
    const qsizetype at = caption.indexOf(u'&');
    return at >= 0 && at + 1 < caption.size() ? caption.at(at + 1).toLower() : QChar();
}

int highestPlaceholder(const QString& text)
{
    int highest = 0;
    const QRegularExpression placeholder(QStringLiteral("%(\\d)"));
    for (auto it = placeholder.globalMatch(text); it.hasNext();)
        highest = std::max(highest, it.next().captured(1).toInt());
    return highest;
}

TEST(OwnTexts, EveryLanguageHasEveryTextWithTheSamePlaceholders)
{
    for (int i = 0; i < static_cast<int>(OwnText::Count); ++i) {
        const auto id = static_cast<OwnText>(i);
        const QString english = ownText(300, id);
        ASSERT_FALSE(english.isEmpty()) << i;
        for (const qint16 base : {1300, 2300}) {
            const QString text = ownText(base, id);
            EXPECT_FALSE(text.isEmpty()) << i << " " << base;
            EXPECT_EQ(highestPlaceholder(text), highestPlaceholder(english)) << text.toStdString();
            EXPECT_EQ(text.count(u'&'), english.count(u'&')) << text.toStdString();
        }
    }
    EXPECT_EQ(ownRowNumber(300, OwnText::ScopePreview), 600);
    EXPECT_EQ(ownRowNumber(2300, OwnText::ScopePreview), 2600);
    EXPECT_EQ(Messages(MessageTable::valdora(), 1300).get(OwnText::ClosePreview), QStringLiteral("&Fermer"));
}

struct Neighbours {
    const char* where;
    std::vector<OwnText> own;
    std::vector<MessageId> table;
};

TEST(OwnTexts, AcceleratorsDoNotClashWithTheirNeighbours)
{
    const std::vector<Neighbours> places{
        {"scope dialog", {OwnText::ScopePreview}, {MessageId::Ok, MessageId::Cancel}},
        {"preview window",
         {OwnText::ChangesOnly, OwnText::ExportCsv, OwnText::RunFromPreview, OwnText::ClosePreview},
         {}},
        {"preview window computing",
         {OwnText::ChangesOnly, OwnText::ExportCsv, OwnText::RunFromPreview, OwnText::StopPreview},
         {}},
        {"button menu",
         {OwnText::MenuUndoLastRun, OwnText::MenuRetryFailed},
         {MessageId::BarMenuSettings, MessageId::BarMenuTriggerSyntax, MessageId::BarMenuColor,
          MessageId::BarMenuBold, MessageId::BarMenuDeleteButton}},
        {"tray menu",
         {OwnText::MenuUndoLastRun, OwnText::MenuRetryFailed},
         {MessageId::BarMenuShowBar, MessageId::BarMenuClose}},
        {"list of runs", {OwnText::RunsUndo, OwnText::RunsRetry, OwnText::ClosePreview}, {}},
    };
    for (const qint16 base : Bases) {
        const Messages texts(MessageTable::valdora(), base);
        for (const Neighbours& place : places) {
            QSet<QChar> taken;
            for (const MessageId id : place.table)
                taken.insert(accelerator(texts.get(id)));
            for (const OwnText id : place.own) {
                const QChar key = accelerator(texts.get(id));
                ASSERT_FALSE(key.isNull()) << texts.get(id).toStdString();
                EXPECT_FALSE(taken.contains(key))
                    << place.where << ", " << base << ": " << texts.get(id).toStdString();
                taken.insert(key);
            }
        }
    }
}

struct PluralRow {
    const char* name;
    qint16 base;
    OwnText id;
    qint64 count;
    const char* expected;
};

void PrintTo(const PluralRow& row, std::ostream* out)
{
    *out << row.name;
}

class PluralForms : public ::testing::TestWithParam<PluralRow> {};

TEST_P(PluralForms, TheWordsAfterACountAgreeWithIt)
{
    const PluralRow& row = GetParam();
    const Messages texts(MessageTable::valdora(), row.base);
    const QString text = texts.get(row.id, {{1, row.count}}).arg(row.count);
    EXPECT_TRUE(text.startsWith(QString::fromUtf8(row.expected))) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PluralForms,
    ::testing::Values(
        PluralRow{"EnglishOne", 300, OwnText::RunFailedRetry, 1, "1 contact could not be written"},
        PluralRow{"EnglishTwo", 300, OwnText::RunFailedRetry, 2, "2 contacts could not be written"},
        PluralRow{"EnglishZero", 300, OwnText::PreviewComputing, 0, "Computing... 0 contacts"},
        PluralRow{"FrenchOne", 1300, OwnText::RunFailedRetry, 1,
                  "1 contact n'a pas pu être écrit (verrouillé par"},
        PluralRow{"FrenchZero", 1300, OwnText::PreviewComputing, 0, "Calcul en cours... 0 contact"},
        PluralRow{"FrenchTwo", 1300, OwnText::RunFailedRetry, 2,
                  "2 contacts n'ont pas pu être écrits (verrouillés par"},
        PluralRow{"GermanOne", 2300, OwnText::RunFailedRetry, 1, "1 Kontakt konnte nicht"},
        PluralRow{"GermanZero", 2300, OwnText::RunFailedRetry, 0, "0 Kontakte konnten nicht"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PluralForms, EveryTextsFormsAreWellMadeAndNameAPlaceholder)
{
    const QRegularExpression forms(QStringLiteral("\\{(\\d+):[^|{}]*\\|[^|{}]*\\}"));
    for (const qint16 base : Bases) {
        const Messages texts(MessageTable::valdora(), base);
        for (int i = 0; i < static_cast<int>(OwnText::Count); ++i) {
            const QString text = texts.get(static_cast<OwnText>(i));
            for (auto it = forms.globalMatch(text); it.hasNext();) {
                const QString placeholder = QStringLiteral("%") + it.next().captured(1);
                EXPECT_TRUE(text.contains(placeholder)) << base << ": " << text.toStdString();
            }
            // Once the forms are chosen no brace is left.
            for (const qint64 count : {0, 1, 2}) {
                const QString chosen =
                    texts.get(static_cast<OwnText>(i), {{1, count}, {2, count}, {3, count}});
                EXPECT_FALSE(chosen.contains(u'{') || chosen.contains(u'}'))
                    << base << ": " << chosen.toStdString();
            }
        }
    }
}

struct CaptionRow {
    qint16 base;
    MessageAnswer answer;
    const char* caption;
};

TEST(MessageButtonCaptions, EachButtonIsNamedInTheProgramsLanguage)
{
    const CaptionRow rows[] = {
        {300, MessageAnswer::Yes, "&Yes"},
        {300, MessageAnswer::Retry, "&Retry"},
        {1300, MessageAnswer::Yes, "&Oui"},
        {1300, MessageAnswer::Cancel, "&Annuler"},
        {1300, MessageAnswer::Abort, "&Abandonner"},
        {2300, MessageAnswer::No, "&Nein"},
        {2300, MessageAnswer::Retry, "&Wiederholen"},
        {2300, MessageAnswer::Ok, "&OK"},
    };
    for (const CaptionRow& row : rows) {
        EXPECT_EQ(messageButtonCaption(Messages(MessageTable::valdora(), row.base), row.answer),
                  QString::fromUtf8(row.caption))
            << row.base << ", " << row.caption;
    }
}

TEST(MessageButtonCaptions, ALanguageChosenLaterAppliesToTheNextBox)
{
    Messages texts(MessageTable::valdora(), 300);
    const auto captions = messageButtonCaptions(texts);
    EXPECT_EQ(captions(MessageAnswer::Yes), QStringLiteral("&Yes"));
    texts.setLanguageBase(1300);
    EXPECT_EQ(captions(MessageAnswer::Yes), QStringLiteral("&Oui"));
}

TEST(MessageButtonCaptions, TheButtonsOfOneBoxHaveAnAcceleratorEach)
{
    using A = MessageAnswer;
    const std::vector<std::vector<MessageAnswer>> boxes{{A::Ok},
                                                        {A::Ok, A::Cancel},
                                                        {A::Yes, A::No},
                                                        {A::Yes, A::No, A::Cancel},
                                                        {A::Retry, A::Cancel},
                                                        {A::Abort, A::Retry, A::Ignore}};
    for (const MessageTable* table : {&MessageTable::valdora(), &MessageTable::keelbrook()}) {
        for (const qint16 base : Bases) {
            const Messages texts(*table, base);
            for (const auto& box : boxes) {
                QSet<QChar> taken;
                for (const MessageAnswer answer : box) {
                    const QString caption = messageButtonCaption(texts, answer);
                    const QChar key = accelerator(caption);
                    ASSERT_FALSE(key.isNull()) << base << ": " << caption.toStdString();
                    EXPECT_FALSE(taken.contains(key)) << base << ": " << caption.toStdString();
                    taken.insert(key);
                }
            }
        }
    }
}

} // namespace
} // namespace valdora
