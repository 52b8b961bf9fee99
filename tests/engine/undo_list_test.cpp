// The undo list on its own: change numbers, blocks, group breaks, trimming.

#include <gtest/gtest.h>

#include "editor/OstEditUndo.h"

using namespace ostrel;

TEST(UndoList, BlocksShareOneChangeNumberAndNest)
{
    TOstEditUndoList list;
    int added = 0;
    list.OnAddedUndo = [&] { ++added; };
    list.AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);
    list.BeginBlock();
    list.AddChange(crDeleteBackward, {1, 1}, {2, 1}, "x", smNormal);
    list.BeginBlock();
    list.AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);
    list.EndBlock();
    list.AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);
    list.EndBlock();
    list.EndBlock();  // unbalanced end is ignored
    list.AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);
    ASSERT_EQ(list.ItemCount(), 5);
    EXPECT_EQ(list.Item(0).ChangeNumber, 1);
    EXPECT_EQ(list.Item(1).ChangeNumber, 2);
    EXPECT_EQ(list.Item(2).ChangeNumber, 2);
    EXPECT_EQ(list.Item(3).ChangeNumber, 2);
    EXPECT_EQ(list.Item(4).ChangeNumber, 3);
    EXPECT_EQ(added, 6);  // five items, and once more when the block closed
}

TEST(UndoList, GroupBreaksAreNotDoubledAndNotAnnounced)
{
    TOstEditUndoList list;
    int added = 0;
    list.OnAddedUndo = [&] { ++added; };
    list.AddGroupBreak();
    list.AddGroupBreak();
    EXPECT_EQ(list.ItemCount(), 1);
    EXPECT_EQ(added, 0);
    EXPECT_EQ(list.LastChangeReason(), crGroupBreak);
    list.Clear();
    EXPECT_EQ(list.LastChangeReason(), crNothing);
}

TEST(UndoList, LockedListRecordsNothing)
{
    TOstEditUndoList list;
    list.Lock();
    list.AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);
    list.Unlock();
    EXPECT_FALSE(list.CanUndo());
}

TEST(UndoList, MaxUndoTrimsFromTheOldestEnd)
{
    TOstEditUndoList list;
    for (int i = 0; i < 5; ++i)
        list.AddChange(crInsert, {i + 1, 1}, {i + 2, 1}, "", smNormal);
    list.SetMaxUndoActions(-3);
    EXPECT_EQ(list.MaxUndoActions(), 1024);
    list.SetMaxUndoActions(2);
    EXPECT_EQ(list.ItemCount(), 2);
    EXPECT_EQ(list.Item(0).ChangeStartPos.Char, 4);
    EXPECT_TRUE(list.FullUndoImpossible());
    list.SetMaxUndoActions(0);
    EXPECT_EQ(list.ItemCount(), 0);
}

TEST(UndoList, SavedMarkTracksTheTopItem)
{
    TOstEditUndoList list;
    EXPECT_TRUE(list.IsAtSavedState());
    list.AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);
    EXPECT_FALSE(list.IsAtSavedState());
    list.MarkTopAsSaved();
    EXPECT_TRUE(list.IsAtSavedState());
    list.MarkModified();
    EXPECT_FALSE(list.IsAtSavedState());
    TOstEditUndoList copy;
    copy.Assign(list);
    EXPECT_EQ(copy.ItemCount(), 1);
    EXPECT_FALSE(copy.IsAtSavedState());
    EXPECT_EQ(copy.NextChangeNumber(), list.NextChangeNumber());
}
