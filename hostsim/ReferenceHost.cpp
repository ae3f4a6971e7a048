#include "ReferenceHost.h"

#include <windows.h>
#include <psapi.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <utility>

#include "../host/FourCC.h"
#include "../host/Keys.h"
#include "../host/ResultCodes.h"
#include "Canvas.h"
#include "ContactSheet.h"
#include "FileAccess.h"
#include "Host.h"
#include "Image.h"
#include "PlayableActions.h"
#include "PngWriter.h"
#include "ReplaceTogether.h"
#include "Stopwatch.h"
#include "ThreadedRows.h"
#include "WindowsText.h"
#include "platform/ModuleArchitecture.h"

namespace hostsim {
namespace {

constexpr const char kUsage[] =
    "usage: hostsim [--image FILE] [--mode N] [--dialog] [--actions FILE] [--out DIR] [--plugin FILE]\n"
    "               [--timings]\n"
    "       hostsim --about [--plugin FILE]\n"
    "Runs the ZEM_Variations plug-in on an image (a built-in one by default) and writes a contact\n"
    "sheet of the variations and the event log into DIR (ZEM_Variations-output by default).\n"
    "  --mode N       the split mode recorded for the step (1 to 7); without it the plug-in uses 1\n"
    "  --dialog       shows the plug-in's mode dialog first\n"
    "  --actions FILE the Photoshop action file to play (.atn; the built-in ZEM_Variations.atn by default)\n"
    "  --plugin FILE  the plug-in (ZEM_Variations.8li beside this program by default)\n"
    "  --about        shows the plug-in's About box and nothing else\n"
    "  --timings      ends with the time each part of the run took and the peak memory\n";

struct Options {
  std::string image;
  std::string actions;
  std::string out = "ZEM_Variations-output";
  std::string plugin;
  bool hasMode = false;
  int32_t mode = 0;
  bool dialog = false;
  bool about = false;
  bool help = false;
  bool timings = false;
};

bool ParseInteger(const std::string& text, int32_t& value) {
  char* end = nullptr;
  errno = 0;
  const long long parsed = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || parsed < INT32_MIN || parsed > INT32_MAX) return false;
  value = static_cast<int32_t>(parsed);
  return true;
}

bool ParseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    auto value = [&](std::string& target) {
      if (i + 1 >= arguments.size() || arguments[i + 1].rfind("--", 0) == 0) {
        error = option + " needs a value";
        return false;
      }
      if (arguments[i + 1].find_first_not_of(" \t") == std::string::npos) {
        error = option + " needs a value, not an empty one";
        return false;
      }
      target = arguments[++i];
      return true;
    };
    if (option == "--image") {
      if (!value(options.image)) return false;
    } else if (option == "--actions") {
      if (!value(options.actions)) return false;
    } else if (option == "--out") {
      if (!value(options.out)) return false;
    } else if (option == "--plugin") {
      if (!value(options.plugin)) return false;
    } else if (option == "--mode") {
      std::string text;
      if (!value(text)) return false;
      if (!ParseInteger(text, options.mode)) {
        error = "--mode takes a whole number, not '" + text + "'";
        return false;
      }
      options.hasMode = true;
    } else if (option == "--dialog") {
      options.dialog = true;
    } else if (option == "--timings") {
      options.timings = true;
    } else if (option == "--about") {
      options.about = true;
    } else if (option == "--help" || option == "-h") {
      options.help = true;
    } else {
      error = "unknown option '" + option + "'";
      return false;
    }
  }
  return true;
}

// Paths are UTF-8 throughout; each Windows call takes them through Wide().
std::wstring Wide(const std::string& path) { return Utf16FromUtf8(path); }

std::string ProgramFolder() {
  // Paths longer than MAX_PATH are possible; the name is cut short when the buffer is full.
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = 0;
  while ((length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()))) >= path.size() &&
         path.size() < 32768) {
    path.resize(path.size() * 2);
  }
  path.resize(length);
  const std::string folder = Utf8FromUtf16(path);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

// The architecture of the module in a file, from its PE header; null when the file is not a
// module of either architecture (the loader then says what is wrong with it).
const zem::ModuleArchitecture* ModuleArchitectureOf(const std::string& path) {
  std::vector<uint8_t> head(4096);
  size_t got = 0;
  if (std::FILE* file = OpenFile(path, "rb")) {
    got = std::fread(head.data(), 1, head.size(), file);
    std::fclose(file);
  }
  return zem::ArchitectureOfMachine(zem::PeMachine(head.data(), got));
}

// The plug-in module, loaded as the host loads it and checked for what the host calls.
class Plugin {
 public:
  ~Plugin() {
    if (module_ != nullptr) FreeLibrary(module_);
  }

  bool Load(const std::string& path, std::string& error) {
    if (GetFileAttributesW(Wide(path).c_str()) == INVALID_FILE_ATTRIBUTES) {
      error = "no plug-in at " + path;
      return false;
    }
    // A module of the other architecture would only fail to load with a loader code; say which
    // it is instead.
    const zem::ModuleArchitecture* architecture = ModuleArchitectureOf(path);
    if (architecture != nullptr && architecture != &zem::kThisModule) {
      error = path + " is an " + architecture->name + " (" + std::to_string(architecture->bits) +
              "-bit) module, and this reference host is " + zem::kThisModule.name + " (" +
              std::to_string(zem::kThisModule.bits) + "-bit): it loads " + zem::kThisModule.name +
              " modules only. Run the " + architecture->name + " reference host, or give it the " +
              zem::kThisModule.name + " module";
      return false;
    }
    module_ = LoadLibraryW(Wide(path).c_str());
    if (module_ == nullptr) {
      error = path + " is not a valid plug-in module (it does not load, " + SystemErrorText(GetLastError()) + ")";
      return false;
    }
    for (const char* name : {"AutoPluginMain", zem::kThisModule.dialogProcExport}) {
      if (GetProcAddress(module_, name) == nullptr) {
        error = path + " is not a ZEM_Variations plug-in: it does not export " + name;
        return false;
      }
    }
    if (FindResourceA(module_, MAKEINTRESOURCEA(16000), "PIPL") == nullptr) {
      error = path + " is not a ZEM_Variations plug-in: it has no property list (PIPL 16000)";
      return false;
    }
    entry_ = reinterpret_cast<host::SPPluginEntryPoint>(reinterpret_cast<void*>(GetProcAddress(module_, "AutoPluginMain")));
    return true;
  }

  HMODULE module() const { return module_; }
  host::SPPluginEntryPoint entry() const { return entry_; }

 private:
  HMODULE module_ = nullptr;
  host::SPPluginEntryPoint entry_ = nullptr;
};

const char* ModeName(int32_t mode) {
  static const char* const names[] = {"Diagonal Split",    "Half vertical",      "Half horizontal",
                                      "Strips 4 vertical", "Strips 8 vertical", "Left/right quarter",
                                      "right quarter"};
  return mode >= 1 && mode <= 7 ? names[mode - 1] : "no region: every action on the whole image";
}

std::vector<uint8_t> TextFileBytes(const std::vector<std::string>& lines) {
  std::vector<uint8_t> bytes;
  for (const std::string& line : lines) {
    bytes.insert(bytes.end(), line.begin(), line.end());
    bytes.push_back('\r');
    bytes.push_back('\n');
  }
  return bytes;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Creates the folder and any missing parents.
bool MakeFolder(const std::string& path) {
  if (path.empty()) return true;
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const size_t slash = path.find_last_of("\\/");
  if (slash != std::string::npos && slash > 0 && path[slash - 1] != ':' && !MakeFolder(path.substr(0, slash))) {
    return false;
  }
  return CreateDirectoryW(Wide(path).c_str(), nullptr) != FALSE || GetLastError() == ERROR_ALREADY_EXISTS;
}

// Checks before the run that the output folder can take the files: it is a folder or can be made
// one, and a file can be created in it. A folder made for the check is removed again, so that a
// run that fails later leaves nothing behind.
bool CheckOutputFolder(const std::string& folder, std::string& error) {
  const DWORD attributes = GetFileAttributesW(Wide(folder).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    error = "--out " + folder + " is a file, not a folder";
    return false;
  }
  const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
  if (!existed && !MakeFolder(folder)) {
    error = "--out " + folder + ": the folder cannot be created (" + SystemErrorText(GetLastError()) + ")";
    return false;
  }
  // A new file of a name no other run uses, gone again when it is closed.
  const std::wstring probe = Wide(folder + "\\zem-probe-" + std::to_string(GetCurrentProcessId()) + ".tmp");
  const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  const DWORD failure = GetLastError();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (!existed) RemoveDirectoryW(Wide(folder).c_str());
  if (file == INVALID_HANDLE_VALUE) {
    error = "--out " + folder + ": no file can be written into the folder (" + SystemErrorText(failure) + ")";
    return false;
  }
  return true;
}

// Writes both files or neither: an old pair is replaced whole or left as it was.
bool WriteOutputs(const std::string& folder, const Image& sheet, const std::vector<std::string>& log,
                  std::string& sheetPath, std::string& logPath, std::string& error) {
  const bool folderExisted = IsFolder(folder);
  if (!MakeFolder(folder)) {
    error = "cannot create the folder " + folder + " (" + SystemErrorText(GetLastError()) + ")";
    return false;
  }
  sheetPath = folder + "\\contact-sheet.png";
  logPath = folder + "\\event-log.txt";
  std::vector<NewFile> files{{sheetPath, EncodePng(sheet)}, {logPath, TextFileBytes(log)}};
  if (files[0].bytes.empty()) {
    error = "cannot encode the contact sheet of " + std::to_string(sheet.width) + " x " +
            std::to_string(sheet.height) + " pixels as PNG; no file was replaced";
  } else if (ReplaceTogether(files, error)) {
    return true;
  }
  if (!folderExisted) RemoveDirectoryW(Wide(folder).c_str());
  return false;
}

// The seconds of the parts of a run that are not pixel work on the canvas.
struct RunTimes {
  double decoding = 0;
  double writing = 0;
};

// One line: each part's time and the process's peak working set, as the benchmark reads it.
void PrintTimings(const RunTimes& run, const PixelWorkTimes& pixels, std::ostream& out) {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  const double peak =
      GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory) ? memory.PeakWorkingSetSize / 1e6 : 0;
  char line[256];
  std::snprintf(line, sizeof line,
                "timings: decode %.1f ms, selections %.1f ms, adjustments %.1f ms, thumbnails %.1f ms, "
                "sheet and files %.1f ms, peak working set %.1f MB\n",
                1000 * run.decoding, 1000 * pixels.selecting, 1000 * pixels.adjusting, 1000 * pixels.thumbnails,
                1000 * run.writing, peak);
  out << line;
}

int ShowAbout(const Plugin& plugin, std::ostream& out, std::ostream& err) {
  Host host;
  host.accessDefaultModule = plugin.module();
  const int32_t result = host.CallAbout(plugin.entry());
  if (result != 0) {
    err << "hostsim: the plug-in's About call failed with " << result << " (" << ResultMeaning(result) << ")\n";
    return 1;
  }
  out << "About box closed\n";
  return 0;
}

}  // namespace

std::string ResultMeaning(int32_t code) {
  switch (code) {
    case 0: return "success";
    case host::kUserCanceledErr: return "cancelled by the user";
    case host::kParamErr: return "bad parameter";
    case host::kSPOutOfMemoryError: return "out of memory";
    case kErrNoSuchAction: return "no such object: an action of the run is missing from the action set";
    case host::kSPBadParameterError: return "'Parm': bad parameter";
    case host::kSPSuiteNotFoundError: return "'S!Fd': a host suite was not found";
    case host::kSPUnimplementedError: return "'!IMP': not implemented by the host";
    case host::kHostInsufficient: return "the host cannot do this";
    case host::kPropertyUndefined: return "a document property is not defined";
    default: return "unknown result";
  }
}

int RunReferenceHost(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  Options options;
  std::string error;
  if (!ParseOptions(arguments, options, error)) {
    err << "hostsim: " << error << "\n" << kUsage;
    return 2;
  }
  if (options.help) {
    out << kUsage;
    return 0;
  }

  if (!options.about && !CheckOutputFolder(options.out, error)) {
    err << "hostsim: " << error << "; nothing was run\n";
    return 1;
  }

  Plugin plugin;
  if (!plugin.Load(options.plugin.empty() ? ProgramFolder() + "ZEM_Variations.8li" : options.plugin, error)) {
    err << "hostsim: " << error << "\n";
    return 1;
  }
  if (options.about) return ShowAbout(plugin, out, err);

  RunTimes times;
  Image image;
  if (options.image.empty()) {
    image = BuiltInImage();
  } else {
    Stopwatch stopwatch(times.decoding);
    if (!LoadImageFile(options.image, image, error)) {
      err << "hostsim: " << error << "\n";
      return 1;
    }
  }
  // The action file is read and checked whole before the run: a set the host cannot play is
  // refused before anything is drawn or written.
  const std::string setName = ActionSet().name;  // the set the plug-in plays
  const std::string actionFile = options.actions.empty() ? "the built-in ZEM_Variations.atn" : options.actions;
  PlayableSet actions;
  const bool actionsRead =
      options.actions.empty()
          ? LoadPlayableSet(DefaultActionSetBytes().data(), DefaultActionSetBytes().size(), actionFile, setName,
                            actions, error)
          : ReadPlayableSetFile(options.actions, setName, actions, error);
  if (!actionsRead) {
    err << "hostsim: " << error << "; nothing was written\n";
    return 1;
  }

  out << "playing " << actionFile << " (action set " << actions.name << ", " << actions.actions.size()
      << " actions) on a " << image.width << " x " << image.height << " image\n";
  Host host;
  host.document.width = image.width;
  host.document.height = image.height;
  const std::string size = std::to_string(image.width) + " x " + std::to_string(image.height);
  std::unique_ptr<Canvas> document;
  const ThreadedRows workers;  // the pixel work on every core
  try {
    document.reset(new Canvas(std::move(image), actions, kTileWidth, workers));
  } catch (const std::bad_alloc&) {
    err << "hostsim: there is not enough memory for the selection mask of a " << size
        << " image; nothing was run\n";
    return 1;
  }
  Canvas& canvas = *document;
  host.canvas = &canvas;
  host.actionSet.name = actions.name;
  host.actionSet.actions.clear();
  for (const PlayableAction& action : actions.actions) host.actionSet.actions.push_back(action.name);
  host.accessDefaultModule = plugin.module();
  int played = 0;
  host.afterPlay = [&](const std::string& event) {
    if (event.rfind("Ply ", 0) == 0) {
      out << "  played " << ++played << ": " << canvas.tiles().back().label << " (" << canvas.tiles().back().detail
          << ")\n";
    }
  };

  host::PIActionParameters parameters{options.dialog ? host::plugInDialogDisplay : host::plugInDialogDontDisplay,
                                      host::plugInDialogRequired, nullptr};
  if (options.hasMode) parameters.descriptor = host.NewModeDescriptor(options.mode);
  const int32_t result = host.CallDoIt(plugin.entry(), &parameters);

  int32_t mode = options.hasMode ? options.mode : 1;
  if (parameters.descriptor != nullptr) {
    const std::string recorded = host.DescriptorText(parameters.descriptor);
    if (recorded.rfind("Cnt=", 0) == 0) ParseInteger(recorded.substr(4), mode);
    host.FreeDescriptor(parameters.descriptor);
  }
  if (result != 0) {
    err << "hostsim: the plug-in failed with " << result << " (" << ResultMeaning(result) << ") after " << played
        << " actions";
    // The plug-in plays its actions in a fixed order, so the one that failed is the next of them.
    const std::vector<std::string>& names = DefaultVariationActions();
    if (result == kErrNoSuchAction && size_t(played) < names.size()) {
      err << ": the action \"" << names[size_t(played)] << "\" of the set \"" << actions.name << "\" is not in "
          << actionFile;
    }
    err << "; nothing was written\n";
    return 1;
  }
  if (!host.violations().empty() || host.objects.Live() != 0 || host.SuitesHeld() != 0 || host.LiveBlocks() != 0) {
    err << "hostsim: the plug-in broke the host's rules:";
    for (const std::string& violation : host.violations()) err << " " << violation << ";";
    err << " " << host.objects.Live() << " objects, " << host.SuitesHeld() << " suites and " << host.LiveBlocks()
        << " blocks left; nothing was written\n";
    return 1;
  }

  const std::string title = actions.name + ", mode " + std::to_string(mode) + " (" + ModeName(mode) + ")";
  std::string sheetPath, logPath;
  {
    Stopwatch stopwatch(times.writing);
    if (!WriteOutputs(options.out, ContactSheet(title, canvas.tiles()), host.log(), sheetPath, logPath, error)) {
      err << "hostsim: " << error << "\n";
      return 1;
    }
  }
  if (options.dialog && played == 0) out << "the dialog was cancelled: no variation was played\n";
  out << "mode " << mode << " (" << ModeName(mode) << "), " << played << " of " << actions.actions.size()
      << " actions of " << actionFile << " played, plug-in result 0 (success)\n"
      << "contact sheet: " << sheetPath << "\n"
      << "event log: " << logPath << "\n";
  if (options.timings) PrintTimings(times, canvas.times(), out);
  return 0;
}

}  // namespace hostsim
