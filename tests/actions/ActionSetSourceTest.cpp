// The shipped action set: the generated ZEM_Variations.atn reads back to its source text exactly,
// and holds the eighteen silent actions the plug-in plays, each pair opposite and equal.
#include <gtest/gtest.h>

#include <cmath>

#include "actions/BinaryFormat.h"
#include "actions/TextForm.h"
#include "tests/actions/TestFiles.h"

namespace zem::actions {
namespace {

using testing::ReadBytes;
using testing::ReadText;

ActionSet GeneratedSet() {
  const std::vector<uint8_t> bytes = ReadBytes(ZEM_ACTION_SET_FILE);
  ActionSet set;
  ReadError error;
  EXPECT_TRUE(ReadActionFile(bytes.data(), bytes.size(), set, error)) << ZEM_ACTION_SET_FILE << ", " << error.message;
  return set;
}

TEST(ShippedActionSet, ConvertsBackToItsSourceText) {
  const std::string source = ReadText(ZEM_ACTION_SET_SOURCE);
  ASSERT_FALSE(source.empty()) << ZEM_ACTION_SET_SOURCE;
  EXPECT_EQ(WriteActionText(GeneratedSet()), source);
  EXPECT_EQ(WriteActionFile(testing::FromText(source)), ReadBytes(ZEM_ACTION_SET_FILE));
}

const char* const kVariationNames[] = {
    "red_plus",        "red_minus",        "green_plus",  "green_minus",  "blue_plus",   "blue_minus",
    "contrast_plus",   "contrast_minus",   "brightness_plus", "brightness_minus", "sat_plus", "sat_minus",
    "warm_plus",       "warm_minus",       "extra1_plus", "extra1_minus", "extra2_plus", "extra2_minus"};

TEST(ShippedActionSet, HoldsTheEighteenSilentActionsInOrder) {
  const ActionSet set = GeneratedSet();
  EXPECT_EQ(set.name.units, u"ZEM_Variations");
  ASSERT_EQ(set.actions.size(), 18u);
  for (size_t i = 0; i < 18; ++i) {
    const Action& action = set.actions[i];
    SCOPED_TRACE(kVariationNames[i]);
    EXPECT_EQ(ToUtf8(action.name.units), kVariationNames[i]);
    ASSERT_EQ(action.events.size(), 1u);
    const Event& event = action.events[0];
    EXPECT_TRUE(event.enabled);
    EXPECT_FALSE(event.withDialog);
    EXPECT_TRUE(event.dialogOptions == 0 || event.dialogOptions == 2);
    EXPECT_TRUE(event.idIsText);
    ASSERT_TRUE(event.hasDescriptor);
    EXPECT_EQ(ToUtf8(event.descriptor.className.units), event.displayName);
  }
}

// Every number in the value, in order.
void Numbers(const Value& value, std::vector<double>& numbers) {
  if (const int32_t* integer = std::get_if<int32_t>(&value.data)) numbers.push_back(*integer);
  if (const double* number = std::get_if<double>(&value.data)) numbers.push_back(*number);
  if (const List* list = std::get_if<List>(&value.data)) {
    for (const Value& element : list->values) Numbers(element, numbers);
  }
  if (const Descriptor* descriptor = std::get_if<Descriptor>(&value.data)) {
    for (const Item& item : descriptor->items) Numbers(item.value, numbers);
  }
}

TEST(ShippedActionSet, PairsAreOppositeAndOfEqualStrength) {
  const ActionSet set = GeneratedSet();
  ASSERT_EQ(set.actions.size(), 18u);
  for (size_t i = 0; i < 18; i += 2) {
    const Event& plus = set.actions[i].events[0];
    const Event& minus = set.actions[i + 1].events[0];
    SCOPED_TRACE(kVariationNames[i]);
    EXPECT_EQ(plus.textId, minus.textId);
    std::vector<double> plusNumbers, minusNumbers;
    for (const Item& item : plus.descriptor.items) Numbers(item.value, plusNumbers);
    for (const Item& item : minus.descriptor.items) Numbers(item.value, minusNumbers);
    ASSERT_EQ(plusNumbers.size(), minusNumbers.size());
    int differing = 0;
    for (size_t k = 0; k < plusNumbers.size(); ++k) {
      if (plusNumbers[k] == minusNumbers[k]) continue;
      ++differing;
      if (plus.textId == "levels") {
        EXPECT_NEAR(plusNumbers[k] * minusNumbers[k], 1.0, 1e-12);  // gamma and its inverse
        EXPECT_GT(plusNumbers[k], 1.0);
      } else if (plus.textId != "photoFilter") {
        EXPECT_EQ(plusNumbers[k], -minusNumbers[k]);
        EXPECT_GT(plusNumbers[k], 0);
      }
    }
    EXPECT_GE(differing, 1);
  }
}

}  // namespace
}  // namespace zem::actions
