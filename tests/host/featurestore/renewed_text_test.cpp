// Texts renewed with a value made only when needed (RenewStringAt): what a
// reader, a listener, a save, undo and redo see must be what a text written
// at each renewal would have given them.
#include "StoreChecks.h"
#include "StoreFixture.h"

#include <set>

namespace {
int gMade = 0;
// A new text at each call, as a new identifier would be.
void MakeNumbered(KORUnicodeString& oText) {
  oText = "made-" + std::to_string(++gMade);
}

class RenewedTextTest : public StoreTest {
protected:
  void SetUp() override {
    StoreTest::SetUp();
    transactions = KORQuery<KORITransactions>(document->Identity());
    node = Node();
    attributes = Attr(node);
    ASSERT_TRUE(transactions && attributes);
    name = attributes->GetAttributeIndex("Name");
    ASSERT_GE(name, 0);
    gMade = 0;
  }
  KORUnicodeString Read() {
    KORUnicodeString text;
    EXPECT_EQ(attributes->GetString("Name", text), S_OK);
    return text;
  }

  KORITransactions_var transactions;
  KORISpecObject_var node;
  KORSmartPtr<KORISpecAttrAccess> attributes;
  int name = -1;
};

TEST_F(RenewedTextTest, EachReadAfterARenewalSeesANewTextAndRereadsKeepIt) {
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  ASSERT_EQ(attributes->SetString("Name", "first"), S_OK);
  std::set<KORUnicodeString> seen{Read()};
  for (int renewals : {1, 5, 1}) {
    for (int i = 0; i < renewals; ++i)
      ASSERT_EQ(attributes->RenewStringAt(name, &MakeNumbered), S_OK);
    const KORUnicodeString now = Read();
    EXPECT_TRUE(seen.insert(now).second) << now << " was read before";
    EXPECT_EQ(Read(), now) << "read twice without a renewal in between";
  }
  EXPECT_EQ(gMade, 3) << "a text was made for each renewal, not for each read";
  ASSERT_EQ(transactions->CommitTransaction(), S_OK);
}

// The transaction's record holds the text last made: a renewal that nothing
// read is made when the transaction ends, and undo and redo go back and forth
// between the text before the transaction and that one. An abort takes back
// the renewals with the writes.
TEST_F(RenewedTextTest, UndoRedoAndAbortRestoreTheTextsAroundTheTransaction) {
  ASSERT_EQ(attributes->SetString("Name", "before"), S_OK);
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  ASSERT_EQ(attributes->SetString("Name", "inside"), S_OK);
  ASSERT_EQ(attributes->RenewStringAt(name, &MakeNumbered), S_OK);
  ASSERT_EQ(transactions->AbortTransaction(), S_OK);
  EXPECT_EQ(Read(), "before");

  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  ASSERT_EQ(attributes->SetString("Name", "inside"), S_OK);
  ASSERT_EQ(attributes->RenewStringAt(name, &MakeNumbered), S_OK);
  const KORUnicodeString read = Read();
  ASSERT_EQ(attributes->RenewStringAt(name, &MakeNumbered), S_OK);
  ASSERT_EQ(transactions->CommitTransaction(), S_OK);
  const KORUnicodeString last = Read();
  EXPECT_NE(last, read) << "the renewal after the last read was lost at the commit";
  ASSERT_EQ(transactions->Undo(), S_OK);
  EXPECT_EQ(Read(), "before");
  ASSERT_EQ(transactions->Redo(), S_OK);
  EXPECT_EQ(Read(), last);
}

// Listeners hear each renewal and, reading the text then, see the new one; a
// save made meanwhile writes it too.
TEST_F(RenewedTextTest, ListenersAndSavesSeeTheRenewedText) {
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  ASSERT_EQ(attributes->SetString("Name", "first"), S_OK);
  std::vector<KORUnicodeString> told;
  const int listener = document->AddStoreListener([&](const KORStoreChange& iChange) {
    if (iChange.key && std::string(iChange.key) == "Name")
      told.push_back(Read());
  });
  for (int i = 0; i < 3; ++i)
    ASSERT_EQ(attributes->RenewStringAt(name, &MakeNumbered), S_OK);
  document->RemoveStoreListener(listener);
  EXPECT_EQ(told, (std::vector<KORUnicodeString>{"made-1", "made-2", "made-3"}));

  ASSERT_EQ(attributes->RenewStringAt(name, &MakeNumbered), S_OK);
  EXPECT_NE(SavedBytes(*document).find("made-4"), std::string::npos);
  EXPECT_EQ(Read(), "made-4");
  ASSERT_EQ(transactions->CommitTransaction(), S_OK);
}

// Outside a transaction (or one that has not written the attribute) there is
// no record to make the text into later: it is made and written at once.
TEST_F(RenewedTextTest, WithoutARecordedWriteTheTextIsMadeAtOnce) {
  ASSERT_EQ(attributes->RenewStringAt(name, &MakeNumbered), S_OK);
  EXPECT_EQ(gMade, 1);
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  ASSERT_EQ(attributes->RenewStringAt(name, &MakeNumbered), S_OK);
  EXPECT_EQ(gMade, 2);
  EXPECT_EQ(Read(), "made-2");
  ASSERT_EQ(transactions->CommitTransaction(), S_OK);
  EXPECT_EQ(attributes->RenewStringAt(attributes->GetAttributeIndex("Count"), &MakeNumbered),
            E_FAIL)
      << "an integer attribute took a text";
  EXPECT_EQ(attributes->RenewStringAt(-1, &MakeNumbered), E_FAIL);
}
} // namespace
