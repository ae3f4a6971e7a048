// What previewing an action set costs: 50 actions of the kinds people record (adjustment layers,
// layer via copy with a blend mode, direct adjustments, sharpening, a resize), each played on its
// own copy of a generated 12-megapixel photo, with a PNG of each, the contact sheet and the report
// written, as `hostsim --actions SET.atn` does.
//
//   preview_cost [--megapixels M] [--actions N] [--out DIR] [--save DIR]
//
// --save DIR writes the set (recipes.atn) and the photo (photo.png) there and stops, for timing
// `hostsim.exe --actions recipes.atn --image photo.png` under Wine on the same input.
//
// Prints the wall-clock time of the whole preview, its CPU time, and the process's peak resident
// memory (ru_maxrss) against the decoded image's size. One thread, as natively the rows are not
// shared out.
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "actions/BinaryFormat.h"
#include "actions/TextForm.h"
#include "bench/PhotoImage.h"
#include "imaging/FileAccess.h"
#include "imaging/PngWriter.h"
#include "refhost/PreviewRun.h"

namespace {

// Ten recipes of the kinds the survey of saved sets counts most, each an action.
const char* const kRecipes[] = {
    "  event make \"Make\" 'Mk  ' {'null': ref('AdjL' class), 'Usng': 'AdjL' {'Type': \"Curves\" 'Crvs' {'Adjs': "
    "['CrvA' {'Chnl': ref('Chnl' enum 'Chnl'.'Cmps'), 'Crv ': ['Pnt ' {'Hrzn': 0.0, 'Vrtc': 0.0}, 'Pnt ' {'Hrzn': 64.0, "
    "'Vrtc': 54.0}, 'Pnt ' {'Hrzn': 191.0, 'Vrtc': 205.0}, 'Pnt ' {'Hrzn': 255.0, 'Vrtc': 255.0}]}]}}}\n"
    "  event delete \"Delete\" 'Dlt ' {'null': ref('Chnl' enum 'Ordn'.'Trgt')}\n",
    "  event make \"Make\" 'Mk  ' {'null': ref('AdjL' class), 'Usng': 'AdjL' {'Type': 'ChnM' {'Mnch': true, 'Gry ': "
    "'ChMx' {'Rd  ': 40.0 '#Prc', 'Grn ': 40.0 '#Prc', 'Bl  ': 20.0 '#Prc'}}}}\n",
    "  event make \"Make\" 'Mk  ' {'null': ref('AdjL' class), 'Usng': 'AdjL' {'Type': \"Levels\" 'Lvls' {'Adjs': ['LvlA' "
    "{'Chnl': ref('Chnl' enum 'Chnl'.'Cmps'), 'Inpt': [10, 240], 'Gmm ': 1.2}]}}}\n",
    "  event make \"Make\" 'Mk  ' {'null': ref('AdjL' class), 'Usng': 'AdjL' {'Type': 'GdMp' {'Grad': 'Grdn' {'GrdF': "
    "'GrdF'.'CstS', 'Clrs': ['Clrt' {'Clr ': 'RGBC' {'Rd  ': 20.0, 'Grn ': 10.0, 'Bl  ': 80.0}, 'Type': 'Clry'.'UsrS', "
    "'Lctn': 0, 'Mdpn': 50}, 'Clrt' {'Clr ': 'RGBC' {'Rd  ': 255.0, 'Grn ': 220.0, 'Bl  ': 160.0}, 'Type': "
    "'Clry'.'UsrS', 'Lctn': 4096, 'Mdpn': 50}]}}}}\n"
    "  event $\"set\" \"Set\" 'setd' {'null': ref('Lyr ' enum 'Ordn'.'Trgt'), 'T   ': 'Lyr ' {'Md  ': 'BlnM'.'SftL', "
    "'Opct': 60.0 '#Prc'}}\n",
    "  event make \"Make\" 'Mk  ' {'null': ref('AdjL' class), 'Usng': 'AdjL' {'Type': 'BrgC' {'Brgh': 10, 'Cntr': 20}}}\n",
    "  event make \"Make\" 'Mk  ' {'null': ref('AdjL' class), 'Usng': 'AdjL' {'Type': 'HStr' {'Clrz': false, 'Adjs': "
    "['Hst2' {'H   ': 0, 'Strt': -30, 'Lght': 0}]}}}\n",
    "  event copyToLayer \"Layer Via Copy\" none\n"
    "  event hueSaturation \"Hue/Saturation\" 'HStr' {'Clrz': false, 'Adjs': ['Hst2' {'H   ': 0, 'Strt': 20, 'Lght': 0}]}\n"
    "  event $\"set\" \"Set\" 'setd' {'null': ref('Lyr ' enum 'Ordn'.'Trgt'), 'T   ': 'Lyr ' {'Md  ': 'BlnM'.'Ovrl'}}\n"
    "  event $\"set\" \"Set\" 'setd' {'null': ref('Lyr ' enum 'Ordn'.'Trgt'), 'T   ': 'Lyr ' {'Opct': 45.0 '#Prc'}}\n",
    "  event make \"Make\" 'Mk  ' {'null': ref('AdjL' class), 'Usng': 'AdjL' {'Type': class(\"Black & White\" "
    "blackAndWhite)}}\n"
    "  event make \"Make\" 'Mk  ' {'null': ref('AdjL' class), 'Usng': 'AdjL' {'Type': photoFilter {'Clr ': 'RGBC' "
    "{'Rd  ': 236.0, 'Grn ': 138.0, 'Bl  ': 0.0}, 'Dnst': 30, 'PrsL': true}}}\n",
    "  event unsharpMask \"Unsharp Mask\" 'UnsM' {'Amnt': 80.0 '#Prc', 'Rds ': 1.5 '#Pxl', 'Thsh': 2}\n",
    "  event make \"Make\" 'Mk  ' {'null': ref('AdjL' class), 'Usng': 'AdjL' {'Type': 'SlcC' {'Mthd': 'CrcM'.'Rltv', "
    "'ClrC': ['ClrC' {'Clrs': 'Clrs'.'Rds ', 'Cyn ': -20.0 '#Prc', 'Mgnt': 0.0 '#Prc', 'Yllw': 10.0 '#Prc', "
    "'Blck': 0.0 '#Prc'}]}}}\n"
    "  event make \"Make\" 'Mk  ' {'null': ref('AdjL' class), 'Usng': 'AdjL' {'Type': 'Invr' {}}}\n"
    "  event $\"set\" \"Set\" 'setd' {'null': ref('Lyr ' enum 'Ordn'.'Trgt'), 'T   ': 'Lyr ' {'Opct': 20.0 '#Prc'}}\n",
};

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  double megapixels = 12;
  int count = 50;
  std::string out = (std::filesystem::temp_directory_path() / "zem-preview-cost").string();
  std::string save;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--megapixels") megapixels = std::atof(argv[i + 1]);
    else if (option == "--actions") count = std::atoi(argv[i + 1]);
    else if (option == "--out") out = argv[i + 1];
    else if (option == "--save") save = argv[i + 1];
  }
  const int width = int(std::lround(std::sqrt(megapixels * 1e6 * 4 / 3))), height = width * 3 / 4;
  const hostsim::Image image = bench::PhotoLikeImage(width, height);

  std::string text = "set \"Recipes\"\n";
  const int recipes = int(sizeof kRecipes / sizeof kRecipes[0]);
  for (int i = 0; i < count; ++i) text += "action \"recipe " + std::to_string(i + 1) + "\"\n" + kRecipes[i % recipes];
  zem::actions::ActionSet set;
  zem::actions::TextError error;
  if (!zem::actions::ReadActionText(text, set, error)) {
    std::fprintf(stderr, "preview_cost: the recipes do not read: %s\n", error.message.c_str());
    return 1;
  }
  if (!save.empty()) {
    std::filesystem::create_directories(save);
    const std::vector<uint8_t> bytes = zem::actions::WriteActionFile(set);
    const bool saved = hostsim::WriteWholeFile(save + "/recipes.atn", bytes.data(), bytes.size()) &&
                       hostsim::SavePng(image, save + "/photo.png");
    std::printf("%s %s/recipes.atn and %s/photo.png\n", saved ? "wrote" : "could not write", save.c_str(), save.c_str());
    return saved ? 0 : 1;
  }
  std::filesystem::create_directories(out);
  std::ostringstream summary, progress;
  const double cpu0 = CpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  const int status = zem::document::PreviewActionSet(set, "recipes", image, out, zem::document::PlayOptions(),
                                                     hostsim::SerialRows(), summary, progress, std::cerr);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double cpu = CpuSeconds() - cpu0;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const double peakMb = usage.ru_maxrss / 1024.0, imageMb = image.rgb.size() / 1e6;
  std::printf("preview of %d actions on %d x %d (%.1f MP): %.1f s (CPU %.1f s), exit status %d, peak %.0f MB = %.1f x "
              "the image (%.0f MB)\n",
              count, width, height, width * double(height) / 1e6, seconds, cpu, status, peakMb, peakMb / imageMb, imageMb);
  return status == 0 ? 0 : 1;
}
