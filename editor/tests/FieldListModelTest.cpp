#include "FakeFieldList.h"

#include "editor/FieldListModel.h"

#include <gtest/gtest.h>

namespace valdora::editor::test {
namespace {

// One field and whether each list offers it.
struct OfferCase {
    const char* name;
    host::FieldId id;
    qint16 type;
    bool source;
    bool target;
};

void PrintTo(const OfferCase& c, std::ostream* out)
{
    *out << c.name;
}

class FieldListOffers : public ::testing::TestWithParam<OfferCase> {};

TEST_P(FieldListOffers, OffersAFieldByItsIdAndType)
{
    FakeFieldList host;
    host.add(GetParam().id, QStringLiteral("Probe"), GetParam().type);
    const FieldListModel model = FieldListModel::fromHost(host);
    EXPECT_EQ(model.Field_List(FieldListMode::Source).contains(u"Probe"), GetParam().source);
    EXPECT_EQ(model.Field_List(FieldListMode::Target).contains(u"Probe"), GetParam().target);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldListOffers,
    ::testing::Values(OfferCase{"UniqueId", 1, 1, true, false}, OfferCase{"RecordManager", 6, 1, true, false},
                      OfferCase{"FirstTarget", 7, 1, true, true}, OfferCase{"Id24", 24, 1, true, true},
                      OfferCase{"Company", 25, 1, true, false}, OfferCase{"Contact", 26, 1, true, false},
                      OfferCase{"Id27", 27, 1, true, true}, OfferCase{"Id40", 40, 1, true, true},
                      OfferCase{"Id41", 41, 1, true, false}, OfferCase{"Id44", 44, 1, true, false},
                      OfferCase{"Id45", 45, 1, true, true}, OfferCase{"Id77", 77, 1, true, true},
                      OfferCase{"Id78", 78, 1, true, false}, OfferCase{"Id93", 93, 1, true, false},
                      OfferCase{"Id94", 94, 1, true, true}, OfferCase{"Id124", 124, 1, true, true},
                      OfferCase{"Slot125", 125, 1, false, false}, OfferCase{"Id126", 126, 1, true, true},
                      OfferCase{"Id199", 199, 1, true, true}, OfferCase{"Id200", 200, 1, true, false},
                      OfferCase{"Slot201", 201, 1, false, false}, OfferCase{"Slot203", 203, 1, false, false},
                      OfferCase{"Id204", 204, 1, true, true}, OfferCase{"Id499", 499, 1, true, true},
                      OfferCase{"Id500", 500, 1, true, false}, OfferCase{"Id502", 502, 1, true, false},
                      OfferCase{"Id503", 503, 1, true, true}, OfferCase{"Id3000", 3000, 1, true, true},
                      OfferCase{"Type7", 30, 7, false, true}, OfferCase{"DateTime10", 30, 10, false, true},
                      OfferCase{"Type11", 30, 11, false, true}, OfferCase{"Type12", 30, 12, false, true},
                      OfferCase{"Type14", 30, 14, false, true}, OfferCase{"Date8", 30, 8, true, true},
                      OfferCase{"User13", 30, 13, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FieldListModel, ListsFieldsInSlotOrderWithIdsTypesAndDecimals)
{
    FakeFieldList host;
    host.add(40, QStringLiteral("Amount"), 5, 2);
    host.add(8, QStringLiteral("Phone"));
    host.add(60, QStringLiteral("Due"), 8);
    const FieldListModel model = FieldListModel::fromHost(host);
    EXPECT_EQ(model.Field_List(FieldListMode::Target), (QStringList{"Phone", "Amount", "Due"}));
    EXPECT_EQ(model.find(QStringLiteral("Amount")), (FieldEntry{QStringLiteral("Amount"), 40, 5, 2}));
    EXPECT_EQ(model.choiceOf(QStringLiteral("Due")), (FieldChoice{"Due", "60", "8"}));
}

TEST(FieldListModel, AnUnknownOrEmptyNameGetsTheHostsAnswerForIt)
{
    const FieldListModel model;
    EXPECT_FALSE(model.find(QString()));
    EXPECT_EQ(model.choiceOf(QString()), (FieldChoice{"", "-1", "-1"}));
    EXPECT_EQ(model.choiceOf(QStringLiteral("Gone")), (FieldChoice{"Gone", "-1", "-1"}));
}

TEST(FieldListModel, ACountAboveTheFieldsPresentEndsTheWalk)
{
    FakeFieldList host;
    host.add(7, QStringLiteral("Phone"));
    host.count = 5; // the host counts fields that no slot holds
    const FieldListModel model = FieldListModel::fromHost(host);
    EXPECT_EQ(model.fields().size(), 1);
    EXPECT_LT(host.calls, 4 * 32768 + 10);
}

TEST(FieldListModel, WithoutAnOpenDatabaseTheListsAreEmpty)
{
    FakeFieldList host;
    host.add(7, QStringLiteral("Phone"));
    host.fails = true;
    const FieldListModel model = FieldListModel::fromHost(host);
    EXPECT_TRUE(model.Field_List(FieldListMode::Source).isEmpty());
    EXPECT_TRUE(model.Field_List(FieldListMode::Target).isEmpty());
}

} // namespace
} // namespace valdora::editor::test
