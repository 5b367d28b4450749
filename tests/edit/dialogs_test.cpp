#include <QLineEdit>
#include <QListWidget>

#include <gtest/gtest.h>

#include "edit/newitemdlg.h"
#include "edit/pickdlg.h"

namespace {

TEST(PickDialogTest, SortsWithoutCaseKeepsIdsAndPreselectsIgnoringCase) {
    const std::vector<std::string> names = {"beta", "Alpha", "alpha", "Gamma"};
    const std::vector<std::int32_t> ids = {20, 10, 11};
    CPickDlg pick(names, &ids, "Pick an Artist", "ALPHA");
    auto* list = pick.findChild<QListWidget*>(QStringLiteral("pickList"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Alpha"));
    EXPECT_EQ(list->item(3)->text(), QStringLiteral("Gamma"));
    EXPECT_EQ(pick.windowTitle(), QStringLiteral("Pick an Artist"));
    pick.accept();
    EXPECT_EQ(pick.ChosenName(), "Alpha") << "the first equal entry in sorted order";
    EXPECT_EQ(pick.ChosenId(), 10);

    list->setCurrentRow(3);
    pick.accept();
    EXPECT_EQ(pick.ChosenId(), 0) << "an ID list shorter than the names gives 0";
    list->clearSelection();
    pick.accept();
    EXPECT_EQ(pick.ChosenName(), "");

    CPickDlg positions({"b", "a"}, nullptr, "Pick", "b");
    positions.accept();
    EXPECT_EQ(positions.ChosenId(), 0) << "without IDs, each entry's position";
}

TEST(NewItemDialogTest, ReturnsWhatTheFieldHolds) {
    CNewItemDlg rename("Rename to:", "Caf\xE9", nullptr);
    EXPECT_EQ(rename.Value(), "Caf\xE9") << "unchanged bytes come back as they were";
    rename.findChild<QLineEdit*>(QStringLiteral("newItemValue"))->setText(QString());
    EXPECT_EQ(rename.Value(), "") << "a text set without typing counts too: the field holds what it shows";
    auto* field = rename.findChild<QLineEdit*>(QStringLiteral("newItemValue"));
    field->selectAll();
    field->insert(QStringLiteral("O'Brien"));
    EXPECT_EQ(rename.Value(), "O'Brien");
}

}  // namespace
