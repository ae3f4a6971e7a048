// Recorded steps played on small documents: the layer steps the Photoshop-saved sets use, the
// selections, the size changes and filters, and malformed values refused with the document left
// as it was.
#include <gtest/gtest.h>

#include "document/layers/Document.h"
#include "tests/document/StepBuilder.h"

namespace zem::document {
namespace {

using testing::Plain;
using testing::Play;

const char kMakeInvertLayer[] = "event make \"Make\" 'Mk  ' {'null': ref('AdjL' class), 'Usng': 'AdjL' {'Type': 'Invr' {}}}";
const char kRectangle[] =
    "event $\"set\" \"Set\" 'setd' {'null': ref('Chnl' prop 'fsel'), 'T   ': 'Rctn' {'Top ': 0.0 '#Pxl', "
    "'Left': 0.0 '#Pxl', 'Btom': 1.0 '#Pxl', 'Rght': 1.0 '#Pxl'}}";

TEST(Steps, AnAdjustmentLayerMadeOverASelectionTakesItAsMask) {
  Document document(Plain(2, 1, 0, 100, 200));
  ASSERT_EQ(Play(document, kRectangle), "played");
  ASSERT_EQ(Play(document, kMakeInvertLayer), "played");
  EXPECT_EQ(document.Current()->name, "Invert 1");
  EXPECT_EQ(document.Composite().rgb, (std::vector<uint8_t>{255, 155, 55, 0, 100, 200}));
  // The mask deleted, as the Bjango set does: the whole image inverted.
  ASSERT_EQ(Play(document, "event delete \"Delete\" 'Dlt ' {'null': ref('Chnl' enum 'Ordn'.'Trgt')}"), "played");
  EXPECT_EQ(document.Composite().rgb, (std::vector<uint8_t>{255, 155, 55, 255, 155, 55}));
  // A second delete of the mask has none to delete.
  EXPECT_NE(Play(document, "event delete \"Delete\" 'Dlt ' {'null': ref('Chnl' enum 'Ordn'.'Trgt')}").find("refused"),
            std::string::npos);
}

TEST(Steps, LayerViaCopyThenModeAndOpacity) {
  Document document(Plain(1, 1, 200, 200, 200));
  ASSERT_EQ(Play(document, "event copyToLayer \"Layer Via Copy\" options 2 none"), "played");
  EXPECT_EQ(document.Current()->name, "Layer 1");
  ASSERT_EQ(Play(document, "event $\"set\" \"Set\" 'setd' {'null': ref('Lyr ' enum 'Ordn'.'Trgt'), 'T   ': 'Lyr ' {'Md  ': 'BlnM'.'Mltp'}}"),
            "played");
  ASSERT_EQ(Play(document, "event $\"set\" \"Set\" 'setd' {'null': ref('Lyr ' enum 'Ordn'.'Trgt'), 'T   ': 'Lyr ' {'Opct': 50.0 '#Prc', 'Nm  ': \"Top\"}}"),
            "played");
  // 200 x 200 / 255 = 156.9, half way from 200: 178.4.
  EXPECT_EQ(document.Composite().rgb[0], 178);
  ASSERT_EQ(Play(document, "event select \"Select\" 'slct' {'null': ref('Lyr ' prop 'Bckg')}"), "played");
  EXPECT_TRUE(document.Current()->background);
  ASSERT_EQ(Play(document, "event select \"Select\" 'slct' {'null': ref('Lyr ' name \"Top\")}"), "played");
  ASSERT_EQ(Play(document, "event hide \"Hide\" 'Hd  ' {'null': [ref('Lyr ' enum 'Ordn'.'Trgt')]}"), "played");
  EXPECT_EQ(document.Composite().rgb[0], 200);
  EXPECT_NE(Play(document, "event select \"Select\" 'slct' {'null': ref('Lyr ' name \"Nowhere\")}").find("no layer"),
            std::string::npos);
}

TEST(Steps, TheMoveToolShiftsAWholeLayer) {
  hostsim::Image image(3, 1);
  image.rgb = {10, 10, 10, 20, 20, 20, 30, 30, 30};
  Document document(image);
  ASSERT_EQ(Play(document, "event copyToLayer \"Layer Via Copy\" none"), "played");
  ASSERT_EQ(Play(document, "event invert \"Invert\" none"), "played");  // the copy: 245, 235, 225
  ASSERT_EQ(Play(document, "event move \"Move\" 'move' {'null': ref('Lyr ' enum 'Ordn'.'Trgt'), 'T   ': 'Ofst' "
                           "{'Hrzn': 1.0 '#Pxl', 'Vrtc': 0.0 '#Pxl'}}"),
            "played");
  // One to the right: the background shows at the left, the copy's last pixel is off the canvas.
  EXPECT_EQ(document.Composite().rgb, (std::vector<uint8_t>{10, 10, 10, 245, 245, 245, 235, 235, 235}));
  ASSERT_EQ(Play(document, "event select \"Select\" 'slct' {'null': ref('Lyr ' prop 'Bckg')}"), "played");
  EXPECT_EQ(Play(document, "event move \"Move\" 'move' {'null': ref('Lyr ' enum 'Ordn'.'Trgt'), 'T   ': 'Ofst' "
                           "{'Hrzn': 1.0 '#Pxl', 'Vrtc': 0.0 '#Pxl'}}").rfind("refused", 0),
            0u);
}

TEST(Steps, DirectAdjustmentsChangeOnlyTheSelectedPixels) {
  Document document(Plain(2, 1, 0, 100, 200));
  ASSERT_EQ(Play(document, kRectangle), "played");
  ASSERT_EQ(Play(document, "event invert \"Invert\" none"), "played");
  EXPECT_EQ(document.Composite().rgb, (std::vector<uint8_t>{255, 155, 55, 0, 100, 200}));
  ASSERT_EQ(Play(document, "event inverse \"Inverse\" none"), "played");
  ASSERT_EQ(Play(document, "event fill \"Fill\" 'Fl  ' {'Usng': 'FlCn'.'Wht ', 'Opct': 50.0 '#Prc', 'Md  ': 'BlnM'.'Nrml'}"),
            "played");
  // The second pixel half way to white: 127.5, 177.5, 227.5.
  EXPECT_EQ(document.Composite().rgb, (std::vector<uint8_t>{255, 155, 55, 128, 178, 228}));
}

TEST(Steps, TheDocumentChangesSizeAndOrientation) {
  hostsim::Image image(2, 1);
  image.rgb = {10, 10, 10, 90, 90, 90};
  Document document(image);
  ASSERT_EQ(Play(document, "event flip \"Flip\" 'Flip' {'Axis': 'Ornt'.'Hrzn'}"), "played");
  EXPECT_EQ(document.Composite().rgb, (std::vector<uint8_t>{90, 90, 90, 10, 10, 10}));
  ASSERT_EQ(Play(document, "event rotateEventEnum \"Rotate\" 'Rtte' {'Angl': 90.0 '#Ang'}"), "played");
  EXPECT_EQ(document.width(), 1);
  EXPECT_EQ(document.height(), 2);
  // A quarter turn clockwise puts the left pixel on top.
  EXPECT_EQ(document.Composite().rgb, (std::vector<uint8_t>{90, 90, 90, 10, 10, 10}));
  // Canvas 3 pixels high, anchored at the top: a row of the background colour (white) below.
  ASSERT_EQ(Play(document, "event canvasSize \"Canvas Size\" 'CnvS' {'Hght': 3.0 '#Pxl', 'Vrtc': 'VrtL'.'Top '}"), "played");
  EXPECT_EQ(document.Composite().rgb, (std::vector<uint8_t>{90, 90, 90, 10, 10, 10, 255, 255, 255}));
  // Image size 200%: 2 x 6.
  ASSERT_EQ(Play(document, "event imageSize \"Image Size\" 'ImgS' {'Wdth': 200.0 '#Prc', 'CnsP': true}"), "played");
  EXPECT_EQ(document.width(), 2);
  EXPECT_EQ(document.height(), 6);
  // Trim by the bottom-right colour: the white rows at the bottom go.
  EXPECT_EQ(Play(document, "event trim \"Trim\" trim {trimBasedOn: trimBasedOn.bottomRightPixelColor}"), "played");
  EXPECT_LT(document.height(), 6);
}

TEST(Steps, FiltersKeepAPlainImagePlain) {
  Document document(Plain(9, 7, 50, 150, 250));
  ASSERT_EQ(Play(document, "event gaussianBlur \"Gaussian Blur\" 'GsnB' {'Rds ': 3.0 '#Pxl'}"), "played");
  ASSERT_EQ(Play(document, "event unsharpMask \"Unsharp Mask\" 'UnsM' {'Amnt': 131.0 '#Prc', 'Rds ': 90.7 '#Pxl', 'Thsh': 4}"),
            "played");
  EXPECT_EQ(document.Composite().rgb, Plain(9, 7, 50, 150, 250).rgb);
  ASSERT_EQ(Play(document, "event highPass \"High Pass\" highPass {'Rds ': 2.0 '#Pxl'}"), "played");
  EXPECT_EQ(document.Composite().rgb, Plain(9, 7, 128, 128, 128).rgb);
}

TEST(Steps, ABlurSpreadsASquareEvenlyAndKeepsItsSum) {
  // A white 9 x 9 square in the middle of 41 x 41 black: 81 x 255 = 20655 per channel, far from
  // the edges, so that the blur keeps the sum (within rounding), and it stays symmetric.
  hostsim::Image image(41, 41);
  for (int y = 16; y < 25; ++y) {
    for (int x = 16; x < 25; ++x) image.At(x, y)[0] = image.At(x, y)[1] = image.At(x, y)[2] = 255;
  }
  Document document(image);
  ASSERT_EQ(Play(document, "event gaussianBlur \"Gaussian Blur\" 'GsnB' {'Rds ': 2.0 '#Pxl'}"), "played");
  const hostsim::Image blurred = document.Composite();
  long sum = 0;
  for (int y = 0; y < 41; ++y) {
    for (int x = 0; x < 41; ++x) {
      sum += blurred.At(x, y)[0];
      EXPECT_EQ(blurred.At(x, y)[0], blurred.At(40 - x, y)[0]) << x << "," << y;
      EXPECT_EQ(blurred.At(x, y)[0], blurred.At(x, 40 - y)[0]) << x << "," << y;
    }
  }
  EXPECT_NEAR(sum, 20655, 41 * 41 / 2);
  EXPECT_EQ(blurred.At(20, 20)[0], 255);  // the middle is still white: the square is wider than the blur
  EXPECT_GT(blurred.At(15, 20)[0], 0);    // just outside the square: some of it
  EXPECT_LT(blurred.At(16, 20)[0], 255);  // its edge: less than all
  EXPECT_EQ(blurred.At(5, 20)[0], 0);     // far outside: none
}

TEST(Steps, MalformedAndUnmodelledStepsAreRefusedAndChangeNothing) {
  Document document(Plain(4, 2, 1, 2, 3));
  const std::vector<uint8_t> before = document.Composite().rgb;
  const char* const refused[] = {
      "event imageSize \"Image Size\" 'ImgS' {'Wdth': -5.0 '#Pxl'}",
      "event imageSize \"Image Size\" 'ImgS' {'Wdth': 1e12 '#Pxl', 'Hght': 1e12 '#Pxl'}",
      "event canvasSize \"Canvas Size\" 'CnvS' {'Wdth': 20000.0 '#Pxl', 'Hght': 20000.0 '#Pxl'}",
      "event gaussianBlur \"Gaussian Blur\" 'GsnB' {'Rds ': 1e9 '#Pxl'}",
      "event gaussianBlur \"Gaussian Blur\" 'GsnB' {'Rds ': true}",
      "event $\"set\" \"Set\" 'setd' {'null': ref('Lyr ' enum 'Ordn'.'Trgt'), 'T   ': 'Lyr ' {'Md  ': 'BlnM'.'Sprk'}}",
      "event $\"set\" \"Set\" 'setd' {'null': ref('Lyr ' enum 'Ordn'.'Trgt'), 'T   ': 'Lyr ' {'Nm  ': \"x\", 'Lefx': 'Lefx' {}}}",
      "event make \"Make\" 'Mk  ' {'null': ref('AdjL' class), 'Usng': 'AdjL' {'Type': 'Sprk' {}}}",
      "event $\"AdobeScriptAutomation Scripts\" \"Scripts\" 'dJsc' {'jsNm': \"x\"}",
      "event sparkle \"Sparkle\" 'Sprk' {}",
      "event rotateEventEnum \"Rotate\" 'Rtte' {'Angl': 33.0 '#Ang'}",
      "event $\"set\" \"Set\" 'setd' {'null': ref('Chnl' prop 'fsel'), 'T   ': 'Rctn' {'Top ': 0.0 '#Pxl'}}",
  };
  for (const char* line : refused) {
    EXPECT_EQ(Play(document, line).rfind("refused: ", 0), 0u) << line;
    EXPECT_EQ(document.width(), 4) << line;
    EXPECT_EQ(document.Composite().rgb, before) << line;
  }
  // A step that renames before it meets an unknown setting leaves the name as it was.
  EXPECT_EQ(document.Current()->name, "Background");
}

TEST(Steps, TheMagicWandContractExpandCopyAndPaste) {
  // Three rows of black, dark grey, light grey, near black, black.
  hostsim::Image image(5, 3);
  for (int y = 0; y < 3; ++y) {
    const uint8_t row[5] = {0, 10, 200, 5, 0};
    for (int x = 0; x < 5; ++x) image.At(x, y)[0] = image.At(x, y)[1] = image.At(x, y)[2] = row[x];
  }
  Document document(image);
  auto rows = [](const Mask& row) { Mask mask; for (int i = 0; i < 3; ++i) mask.insert(mask.end(), row.begin(), row.end()); return mask; };
  // Within 10 levels of black and joined to the first pixel: the first two only.
  ASSERT_EQ(Play(document, "event $\"set\" \"Set\" 'setd' {'null': ref('Chnl' prop 'fsel'), 'T   ': 'Pnt ' "
                           "{'Hrzn': 0.0 '#Pxl', 'Vrtc': 0.0 '#Pxl'}, 'Tlrn': 10, 'Cntg': true}"),
            "played");
  EXPECT_EQ(document.selection().coverage, rows({255, 255, 0, 0, 0}));
  ASSERT_EQ(Play(document, "event $\"set\" \"Set\" 'setd' {'null': ref('Chnl' prop 'fsel'), 'T   ': 'Pnt ' "
                           "{'Hrzn': 0.0 '#Prc', 'Vrtc': 0.0 '#Prc'}, 'Tlrn': 10, 'Cntg': false}"),
            "played");
  EXPECT_EQ(document.selection().coverage, rows({255, 255, 0, 255, 255}));
  ASSERT_EQ(Play(document, "event expand \"Expand\" 'Expn' {'By  ': 1.0 '#Pxl'}"), "played");
  EXPECT_EQ(document.selection().coverage, rows({255, 255, 255, 255, 255}));
  ASSERT_EQ(Play(document, "event contract \"Contract\" 'Cntc' {'By  ': 1.0 '#Pxl', selectionModifyEffectAtCanvasBounds: true}"),
            "played");
  EXPECT_EQ(document.selection().coverage, rows({255, 255, 255, 255, 255}));
  EXPECT_EQ(Play(document, "event contract \"Contract\" 'Cntc' {'By  ': 1.0 '#Pxl'}"), "played");  // from the edges too
  const Mask middle = {0, 0, 0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(document.selection().coverage, middle);
  EXPECT_EQ(Play(document, "event copyEvent \"Copy\" 'copy' {}"), "no-op");
  ASSERT_EQ(Play(document, "event paste \"Paste\" 'past' {}"), "played");
  EXPECT_EQ(*document.Current()->alpha, middle);
  EXPECT_EQ(Play(document, "event contract \"Contract\" 'Cntc' {'By  ': 900.0 '#Pxl'}").rfind("refused", 0), 0u);
}

TEST(Steps, ExpandAndContractReachTheirWholeRadius) {
  Document document(Plain(7, 1, 0, 0, 0));
  ASSERT_EQ(Play(document, "event $\"set\" \"Set\" 'setd' {'null': ref('Chnl' prop 'fsel'), 'T   ': 'Rctn' {'Top ': 0.0 '#Pxl', "
                           "'Left': 2.0 '#Pxl', 'Btom': 1.0 '#Pxl', 'Rght': 3.0 '#Pxl'}}"),
            "played");
  EXPECT_EQ(document.selection().coverage, (Mask{0, 0, 255, 0, 0, 0, 0}));
  ASSERT_EQ(Play(document, "event expand \"Expand\" 'Expn' {'By  ': 2.0 '#Pxl'}"), "played");
  EXPECT_EQ(document.selection().coverage, (Mask{255, 255, 255, 255, 255, 0, 0}));
  ASSERT_EQ(Play(document, "event contract \"Contract\" 'Cntc' {'By  ': 1.0 '#Pxl', selectionModifyEffectAtCanvasBounds: true}"),
            "played");
  EXPECT_EQ(document.selection().coverage, (Mask{255, 255, 255, 255, 0, 0, 0}));
}

TEST(Steps, ASnapshotBringsTheDocumentBack) {
  Document document(Plain(2, 2, 10, 20, 30));
  ASSERT_EQ(Play(document, "event make \"Make\" 'Mk  ' {'null': ref('SnpS' class), 'Nm  ': \"Before\"}"), "no-op");
  ASSERT_EQ(Play(document, "event invert \"Invert\" none"), "played");
  ASSERT_EQ(Play(document, "event imageSize \"Image Size\" 'ImgS' {'Wdth': 1.0 '#Pxl'}"), "played");
  ASSERT_EQ(Play(document, "event select \"Select\" 'slct' {'null': ref('SnpS' name \"Before\")}"), "played");
  EXPECT_EQ(document.Composite().rgb, Plain(2, 2, 10, 20, 30).rgb);
  EXPECT_EQ(Play(document, "event select \"Select\" 'slct' {'null': ref('SnpS' name \"After\")}").rfind("refused", 0), 0u);
}

TEST(Steps, ANewDocumentReplacesTheOneShown) {
  Document document(Plain(4, 4, 1, 2, 3));
  // 72 points at 144 pixels an inch are 144 pixels.
  ASSERT_EQ(Play(document, "event make \"Make\" 'Mk  ' {'Nw  ': 'Dcmn' {'Md  ': class('RGBM'), 'Wdth': 72.0 '#Rlt', "
                           "'Hght': 3.0 '#Pxl', 'Rslt': 144.0 '#Rsl', 'Fl  ': 'Fl  '.'Wht '}}"),
            "played");
  EXPECT_EQ(document.width(), 144);
  EXPECT_EQ(document.height(), 3);
  EXPECT_EQ(document.Composite().rgb, Plain(144, 3, 255, 255, 255).rgb);
}

TEST(Steps, StepsThatShowNothingAreNoOps) {
  Document document(Plain(1, 1, 1, 2, 3));
  EXPECT_EQ(Play(document, "event stop \"Stop\" 'Stop' {'Msge': \"hello\"}"), "no-op");
  EXPECT_EQ(Play(document, "event collapseAllGroupsEvent \"Collapse All Groups\" collapseAllGroupsEvent {}"), "no-op");
  EXPECT_EQ(Play(document, "event make \"Make\" 'Mk  ' {'null': ref('SnpS' class), 'Nm  ': \"Before\"}"), "no-op");
  EXPECT_EQ(Play(document, "event select \"Select\" 'slct' {'null': ref('Mn  ' enum 'MnIt'.'FtOn')}"), "no-op");
}

}  // namespace
}  // namespace zem::document
