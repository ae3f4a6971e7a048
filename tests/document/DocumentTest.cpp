// The layer stack and its composite, on small images worked out by hand.
#include <gtest/gtest.h>

#include "document/layers/Document.h"
#include "document/layers/Planes.h"
#include "tests/document/StepBuilder.h"

namespace zem::document {
namespace {

using testing::Plain;

Layer InvertLayer(double opacity) {
  Layer layer;
  layer.kind = Layer::Kind::Adjustment;
  layer.adjustment = InvertEvent{};
  layer.opacity = opacity;
  return layer;
}

TEST(LayeredDocument, AdjustmentLayersApplyThroughOpacityAndMask) {
  hostsim::Image image = Plain(2, 1, 0, 100, 200);
  Document document(image);
  EXPECT_EQ(document.Composite().rgb, image.rgb);
  Layer& layer = document.InsertAboveCurrent(InvertLayer(0.5));
  // Half of the way to (255, 155, 55): 127.5 each, rounded up.
  EXPECT_EQ(document.Composite().rgb, (std::vector<uint8_t>{128, 128, 128, 128, 128, 128}));
  layer.opacity = 1;
  layer.hasMask = true;
  layer.mask = std::make_shared<const Mask>(Mask{255, 0});
  EXPECT_EQ(document.Composite().rgb, (std::vector<uint8_t>{255, 155, 55, 0, 100, 200}));
  document.FindById(layer.id)->visible = false;
  EXPECT_EQ(document.Composite().rgb, image.rgb);
}

TEST(LayeredDocument, GroupsMixTheirLayersByTheirOwnOpacity) {
  Document document(Plain(1, 1, 0, 100, 200));
  Layer group;
  group.kind = Layer::Kind::Group;
  group.mode = BlendMode::PassThrough;
  group.opacity = 0.5;
  group.children.push_back(InvertLayer(1));
  document.InsertAboveCurrent(group);
  EXPECT_EQ(document.Composite().rgb, (std::vector<uint8_t>{128, 128, 128}));
}

TEST(LayeredDocument, PixelLayersBlendByModeAndTransparency) {
  Document document(Plain(2, 1, 200, 200, 200));
  Layer top;
  top.kind = Layer::Kind::Pixels;
  top.pixels = std::make_shared<hostsim::Image>(Plain(2, 1, 100, 100, 100));
  top.alpha = std::make_shared<const Mask>(Mask{255, 0});
  top.mode = BlendMode::Multiply;
  document.InsertAboveCurrent(top);
  // 200 x 100 / 255 = 78.4 where the layer is opaque; the backdrop where it is transparent.
  EXPECT_EQ(document.Composite().rgb, (std::vector<uint8_t>{78, 78, 78, 200, 200, 200}));
}

TEST(LayeredDocument, DuplicatesSharePixelsUntilOneIsChanged) {
  Document document(Plain(1, 1, 10, 20, 30));
  Layer copy = *document.Current();
  copy.background = false;
  Layer& added = document.InsertAboveCurrent(copy);
  hostsim::Image& pixels = Document::WritablePixels(added);
  pixels.rgb[0] = 99;
  EXPECT_EQ(document.Background()->pixels->rgb[0], 10);
  EXPECT_EQ(document.Composite().rgb[0], 99);
}

TEST(LayeredDocument, LayersAreRemovedMovedAndNamedInTurn) {
  Document document(Plain(1, 1, 0, 0, 0));
  EXPECT_EQ(document.NextName("Layer"), "Layer 1");
  EXPECT_EQ(document.NextName("Layer"), "Layer 2");
  EXPECT_EQ(document.NextName("Curves"), "Curves 1");
  Layer a = InvertLayer(1), b = InvertLayer(1);
  a.name = "a", b.name = "b";
  const int aId = document.InsertAboveCurrent(a).id;
  const int bId = document.InsertAboveCurrent(b).id;
  ASSERT_EQ(document.layers().size(), 3u);
  EXPECT_EQ(document.layers()[2].id, bId);
  // Down by one: b beneath a, but never beneath the background.
  document.Move(bId, -5);
  EXPECT_EQ(document.layers()[1].id, bId);
  EXPECT_EQ(document.layers()[2].id, aId);
  EXPECT_EQ(document.FindByName("a")->id, aId);
  document.SetCurrent(aId);
  document.Remove(aId);
  EXPECT_EQ(document.currentId(), bId);  // the one beneath becomes current
}

TEST(Planes, ResamplingWeighsThePixelsUnderATent) {
  // Halving: the tent two input pixels wide each side of an output pixel's centre (0.5 and 2.5):
  // (0 x 0.75 + 100 x 0.75 + 200 x 0.25) / 1.75 = 71.4 and (100 x 0.25 + 200 x 0.75 + 255 x 0.75) / 1.75 = 209.3.
  EXPECT_EQ(Resample(Plane{4, 1, 1, {0, 100, 200, 255}}, 2, 1).bytes, (std::vector<uint8_t>{71, 209}));
  // Doubling: bilinear between the two pixels, the edges held.
  EXPECT_EQ(Resample(Plane{2, 1, 1, {0, 255}}, 4, 1).bytes, (std::vector<uint8_t>{0, 64, 191, 255}));
  // Down as across: a column doubled.
  EXPECT_EQ(Resample(Plane{1, 2, 1, {0, 255}}, 1, 4).bytes, (std::vector<uint8_t>{0, 64, 191, 255}));
}

TEST(Planes, CutsTurnsAndFlips) {
  const Plane plane{2, 2, 1, {1, 2, 3, 4}};  // 1 2 / 3 4
  const uint8_t fill = 9;
  EXPECT_EQ(Cut(plane, -1, 0, 3, 1, &fill).bytes, (std::vector<uint8_t>{9, 1, 2}));
  EXPECT_EQ(Turn(plane, true, false).bytes, (std::vector<uint8_t>{3, 1, 4, 2}));   // clockwise: 3 1 / 4 2
  EXPECT_EQ(Turn(plane, false, false).bytes, (std::vector<uint8_t>{2, 4, 1, 3}));  // anticlockwise: 2 4 / 1 3
  EXPECT_EQ(Turn(plane, false, true).bytes, (std::vector<uint8_t>{4, 3, 2, 1}));
  EXPECT_EQ(Flip(plane, false).bytes, (std::vector<uint8_t>{3, 4, 1, 2}));
}

}  // namespace
}  // namespace zem::document
