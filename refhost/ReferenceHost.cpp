#include "hostsim/DefaultActionSet.h"
#include "refhost/ReferenceHost.h"

#include <windows.h>
#include <psapi.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <utility>

#include "actions/BinaryFormat.h"
#include "document/Canvas.h"
#include "document/PlayableActions.h"
#include "document/Stopwatch.h"
#include "host/ActionControlSuite.h"
#include "host/FourCC.h"
#include "host/Keys.h"
#include "host/ResultCodes.h"
#include "hostsim/Host.h"
#include "imaging/FileAccess.h"
#include "imaging/Image.h"
#include "imaging/PngWriter.h"
#include "imaging/WindowsText.h"
#include "platform/ModuleArchitecture.h"
#include "platform/WindowsHandles.h"
#include "refhost/ContactSheet.h"
#include "refhost/PreviewRun.h"
#include "refhost/ReplaceTogether.h"
#include "refhost/ThreadedRows.h"

namespace hostsim {
namespace {

constexpr const char kUsage[] =
    "usage: hostsim [--image FILE] [--mode N] [--dialog] [--actions FILE | --no-action-set] [--out DIR]\n"
    "               [--plugin FILE] [--no-suspend-history] [--timings]\n"
    "       hostsim --actions SET.atn [--image FILE] [--action NAME] [--skip-unknown] [--out DIR]\n"
    "       hostsim --about [--plugin FILE]\n"
    "Runs the ZEM_Variations plug-in on an image (a built-in one by default) and writes a contact\n"
    "sheet of the variations and the event log into DIR (ZEM_Variations-output by default).\n"
    "  --mode N       the split mode recorded for the step (1 to 7); without it the plug-in uses 1\n"
    "  --dialog       shows the plug-in's mode dialog first\n"
    "  --actions FILE the Photoshop action file to play (.atn; the built-in ZEM_Variations.atn by default)\n"
    "  --no-action-set starts as a fresh Photoshop does, with no action set loaded: the plug-in then\n"
    "                 loads ZEM_Variations.atn from its own folder\n"
    "  --no-suspend-history serves the action control suite without SuspendHistory (version 2 only),\n"
    "                 as an older host does: every event of the run is then a history state\n"
    "  --plugin FILE  the plug-in (ZEM_Variations.8li beside this program by default)\n"
    "  --about        shows the plug-in's About box and nothing else\n"
    "  --timings      ends with the time each part of the run took and the peak memory\n"
    "A set other than ZEM_Variations is previewed without the plug-in: each action on its own copy of\n"
    "the image, a PNG of each, contact-sheet.png and report.json in DIR. Exit status 0: every step\n"
    "played; 3: played with steps skipped; 4: an action stopped at a step that is not modelled.\n"
    "  --action NAME  previews that action of the set only\n"
    "  --skip-unknown skips the steps that are not modelled instead of stopping the action there\n";

struct Options {
  std::string image;
  std::string actions;
  std::string out = "ZEM_Variations-output";
  std::string plugin;
  bool hasMode = false;
  int32_t mode = 0;
  bool dialog = false;
  bool noActionSet = false;
  bool noSuspendHistory = false;
  bool about = false;
  bool help = false;
  bool timings = false;
  std::string action;
  bool skipUnknown = false;
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
    } else if (option == "--no-action-set") {
      options.noActionSet = true;
    } else if (option == "--no-suspend-history") {
      options.noSuspendHistory = true;
    } else if (option == "--action") {
      if (!value(options.action)) return false;
    } else if (option == "--skip-unknown") {
      options.skipUnknown = true;
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
  if (options.noActionSet && !options.actions.empty()) {
    error = "--actions and --no-action-set exclude each other: without a set, the plug-in loads the one in its folder";
    return false;
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
  if (const zem::UniqueStdioFile file{OpenFile(path, "rb")}) got = std::fread(head.data(), 1, head.size(), file.get());
  return zem::ArchitectureOfMachine(zem::PeMachine(head.data(), got));
}

// The plug-in module, loaded as the host loads it and checked for what the host calls.
class Plugin {
 public:
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
    module_.reset(LoadLibraryW(Wide(path).c_str()));
    if (!module_) {
      error = path + " is not a valid plug-in module (it does not load, " + SystemErrorText(GetLastError()) + ")";
      return false;
    }
    for (const char* name : {"AutoPluginMain", zem::kThisModule.dialogProcExport}) {
      if (GetProcAddress(module_.get(), name) == nullptr) {
        error = path + " is not a ZEM_Variations plug-in: it does not export " + name;
        return false;
      }
    }
    if (FindResourceA(module_.get(), MAKEINTRESOURCEA(16000), "PIPL") == nullptr) {
      error = path + " is not a ZEM_Variations plug-in: it has no property list (PIPL 16000)";
      return false;
    }
    entry_ = reinterpret_cast<host::SPPluginEntryPoint>(
        reinterpret_cast<void*>(GetProcAddress(module_.get(), "AutoPluginMain")));
    return true;
  }

  HMODULE module() const { return module_.get(); }
  host::SPPluginEntryPoint entry() const { return entry_; }

 private:
  zem::UniqueLibrary module_;
  host::SPPluginEntryPoint entry_ = nullptr;
};

const char* ModeName(int32_t mode) {
  // The dialog's captions. Mode 7's button, hidden there, says "Top/bottom quarter", though its
  // region is the right-hand triangle: one name wherever a user reads it.
  static const char* const names[] = {"Diagonal Split",    "Half vertical",      "Half horizontal",
                                      "Strips 4 vertical", "Strips 8 vertical", "Left/right quarter",
                                      "Top/bottom quarter"};
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
  zem::UniqueFile file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  const DWORD failure = GetLastError();
  const bool writable = static_cast<bool>(file);
  file.reset();  // the probe is deleted as it is closed, before the folder made for it is removed
  if (!existed) RemoveDirectoryW(Wide(folder).c_str());
  if (!writable) {
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

// An alias on Windows holds its path in the ANSI code page; the model's files take UTF-8.
std::string Utf8FromAnsi(const std::string& path) {
  const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  if (length <= 0) return path;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], length);
  wide.resize(static_cast<size_t>(length - 1));
  return Utf8FromUtf16(wide);
}

// "history: 1 state, ZEM_Variations" or "history: 55 states".
std::string HistoryText(const std::vector<std::string>& history) {
  std::string text = "history: " + std::to_string(history.size()) + (history.size() == 1 ? " state" : " states");
  if (history.size() == 1) text += ", " + history[0];
  return text;
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

// The arguments read, and the output folder checked before anything runs. Returns the exit code
// when the program ends here (help, or a bad command line), -1 when it goes on.
int ReadArguments(const std::vector<std::string>& arguments, Options& options, std::ostream& out,
                  std::ostream& err) {
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
  return -1;
}

bool LoadPlugin(const Options& options, Plugin& plugin, std::ostream& err) {
  std::string error;
  if (!plugin.Load(options.plugin.empty() ? ProgramFolder() + "ZEM_Variations.8li" : options.plugin, error)) {
    err << "hostsim: " << error << "\n";
    return false;
  }
  return true;
}

// One "Do It" on a document: the host, the document's pixels with the actions it plays, and what
// came of the call.
struct DoItRun {
  const ThreadedRows workers;  // the pixel work on every core; outlives the canvas
  Host host;
  std::unique_ptr<Canvas> document;
  RunTimes times;
  std::string actionFile;  // as messages name it
  std::vector<std::string> loadedFrom;  // the action files the plug-in had the host load
  int played = 0;
  int32_t mode = 1;  // the mode the plug-in recorded, or the one it was given
};

// The file the played actions came from: the one the plug-in had the host load, or the one given.
const std::string& PlayedFrom(const DoItRun& run) {
  return run.loadedFrom.empty() ? run.actionFile : run.loadedFrom.front();
}

// The host's answers that depend on how it was started: the action files it loads for the plug-in
// ('Opn '), read through the same reader as --actions, and the history suite's version.
void PrepareHost(const Options& options, DoItRun& run) {
  if (options.noSuspendHistory) {
    run.host.RefuseSuiteVersion(host::kPSActionControlSuite, host::kPSActionControlSuiteVersionWithHistory);
  }
  Canvas& canvas = *run.document;
  run.host.openActionFile = [&canvas, &run](const std::string& ansiPath, ActionSet& set, std::string& openError) {
    const std::string path = Utf8FromAnsi(ansiPath);
    PlayableSet loaded;
    if (!ReadPlayableSetFile(path, "", loaded, openError)) return int32_t(host::kParamErr);
    set.name = loaded.name;
    canvas.LoadActions(std::move(loaded));
    run.loadedFrom.push_back(path);
    return int32_t(0);
  };
}

// The document: the image and the action file, each read and checked whole before the run, so that
// nothing is drawn or written for an input the host cannot use.
bool OpenDocument(const Options& options, DoItRun& run, std::ostream& out, std::ostream& err) {
  std::string error;
  Image image;
  if (options.image.empty()) {
    image = BuiltInImage();
  } else {
    Stopwatch stopwatch(run.times.decoding);
    if (!LoadImageFile(options.image, image, error)) {
      err << "hostsim: " << error << "\n";
      return false;
    }
  }
  // A host started as a fresh Photoshop is has no set to read: the plug-in has it load one.
  const std::string setName = ActionSet().name;  // the set the plug-in plays
  run.actionFile = options.noActionSet       ? "the plug-in's folder"
                   : options.actions.empty() ? "the built-in ZEM_Variations.atn"
                                             : options.actions;
  PlayableSet actions;
  const bool actionsRead =
      options.noActionSet ? true
      : options.actions.empty()
          ? LoadPlayableSet(DefaultActionSetBytes().data(), DefaultActionSetBytes().size(), run.actionFile, setName,
                            actions, error)
          : ReadPlayableSetFile(options.actions, setName, actions, error);
  if (!actionsRead) {
    err << "hostsim: " << error << "; nothing was written\n";
    return false;
  }

  if (options.noActionSet) {
    out << "starting with no action set loaded, as a fresh Photoshop does, on a " << image.width << " x "
        << image.height << " image\n";
  } else {
    out << "playing " << run.actionFile << " (action set " << actions.name << ", " << actions.actions.size()
        << " actions) on a " << image.width << " x " << image.height << " image\n";
  }
  run.host.document.width = image.width;
  run.host.document.height = image.height;
  const std::string size = std::to_string(image.width) + " x " + std::to_string(image.height);
  try {
    run.document.reset(new Canvas(std::move(image), std::move(actions), kTileWidth, run.workers));
  } catch (const std::bad_alloc&) {
    err << "hostsim: there is not enough memory for the selection mask of a " << size
        << " image; nothing was run\n";
    return false;
  }
  run.host.canvas = run.document.get();
  PrepareHost(options, run);
  return true;
}

// Calls the plug-in's "Do It" as Photoshop does and checks that it succeeded and kept the host's
// rules; each action is reported as it is played.
bool CallDoIt(const Options& options, const Plugin& plugin, DoItRun& run, std::ostream& out, std::ostream& err) {
  Host& host = run.host;
  const Canvas& canvas = *run.document;
  host.accessDefaultModule = plugin.module();
  host.afterPlay = [&](const std::string& event) {
    if (event.rfind("Ply ", 0) == 0) {
      out << "  played " << ++run.played << ": " << canvas.tiles().back().label << " ("
          << canvas.tiles().back().detail << ")\n";
    }
  };

  host::PIActionParameters parameters{options.dialog ? host::plugInDialogDisplay : host::plugInDialogDontDisplay,
                                      host::plugInDialogRequired, nullptr};
  if (options.hasMode) parameters.descriptor = host.NewModeDescriptor(options.mode);
  const int32_t result = host.CallDoIt(plugin.entry(), &parameters);
  for (const std::string& path : run.loadedFrom) {
    out << "action set " << canvas.actions().name << " loaded from the plug-in's folder: " << path << "\n";
  }

  run.mode = options.hasMode ? options.mode : 1;
  if (parameters.descriptor != nullptr) {
    const std::string recorded = host.DescriptorText(parameters.descriptor);
    if (recorded.rfind("Cnt=", 0) == 0) ParseInteger(recorded.substr(4), run.mode);
    host.FreeDescriptor(parameters.descriptor);
  }
  const std::string& setName = canvas.actions().name;
  if (result != 0) {
    err << "hostsim: the plug-in failed with " << result << " (" << ResultMeaning(result) << ") after " << run.played
        << " actions";
    // The plug-in plays its actions in a fixed order, so the one that failed is the next of them.
    const std::vector<std::string>& names = DefaultVariationActions();
    if (result == host::kErrNoSuchObject && options.noActionSet && run.loadedFrom.empty()) {
      err << ": the host has no action set \"" << ActionSet().name << "\", and the plug-in loaded none from its folder";
      if (!host.lastOpenError.empty()) err << " (" << host.lastOpenError << ")";
    } else if (result == host::kErrNoSuchObject && size_t(run.played) < names.size()) {
      err << ": the action \"" << names[size_t(run.played)] << "\" of the set \"" << setName << "\" is not in "
          << PlayedFrom(run);
    }
    err << "; nothing was written\n";
    return false;
  }
  if (!host.violations().empty() || host.objects.Live() != 0 || host.SuitesHeld() != 0 || host.LiveBlocks() != 0) {
    err << "hostsim: the plug-in broke the host's rules:";
    for (const std::string& violation : host.violations()) err << " " << violation << ";";
    err << " " << host.objects.Live() << " objects, " << host.SuitesHeld() << " suites and " << host.LiveBlocks()
        << " blocks left; nothing was written\n";
    return false;
  }
  return true;
}

// Writes the contact sheet and the event log together, then the summary.
bool WriteFiles(const Options& options, const DoItRun& run, std::ostream& out, std::ostream& err) {
  const Canvas& canvas = *run.document;
  const std::string& setName = canvas.actions().name;
  const std::string title = setName + ", mode " + std::to_string(run.mode) + " (" + ModeName(run.mode) + ")";
  std::string sheetPath, logPath, error;
  RunTimes times = run.times;
  {
    Stopwatch stopwatch(times.writing);
    if (!WriteOutputs(options.out, ContactSheet(title, canvas.tiles()), run.host.log(), sheetPath, logPath, error)) {
      err << "hostsim: " << error << "\n";
      return false;
    }
  }
  if (options.dialog && run.played == 0) out << "the dialog was cancelled: no variation was played\n";
  out << "mode " << run.mode << " (" << ModeName(run.mode) << "), " << run.played << " of "
      << canvas.actions().actions.size() << " actions of " << PlayedFrom(run)
      << " played, plug-in result 0 (success)\n"
      << HistoryText(run.host.history()) << "\n"
      << "contact sheet: " << sheetPath << "\n"
      << "event log: " << logPath << "\n";
  if (options.timings) PrintTimings(times, canvas.times(), out);
  return true;
}

// A set other than the plug-in's, previewed on the layered document without the plug-in; `set` is
// the file already read. Returns the exit status.
int PreviewOtherSet(const Options& options, const zem::actions::ActionSet& set, std::ostream& out, std::ostream& err) {
  std::string error;
  Image image;
  if (options.image.empty()) {
    image = BuiltInImage();
  } else if (!LoadImageFile(options.image, image, error)) {
    err << "hostsim: " << error << "\n";
    return 1;
  }
  if (!MakeFolder(options.out)) {
    err << "hostsim: cannot create the folder " << options.out << " (" << SystemErrorText(GetLastError()) << ")\n";
    return 1;
  }
  out << "previewing " << options.actions << " (action set " << zem::actions::ToUtf8(set.name.units) << ", "
      << set.actions.size() << " actions) on a " << image.width << " x " << image.height << " image\n";
  zem::document::PlayOptions play;
  play.only = options.action;
  play.skipUnknown = options.skipUnknown;
  const ThreadedRows workers;
  return zem::document::PreviewActionSet(set, options.actions, image, options.out, play, workers, out, err, err);
}

// Whether the action file named by --actions holds a set other than the plug-in's, which the
// preview plays without the plug-in; `set` is then the file read. A file that cannot be read is
// left to the plug-in's run, which refuses it with the reader's message.
bool IsOtherSet(const Options& options, zem::actions::ActionSet& set) {
  std::vector<uint8_t> bytes;
  if (ReadWholeFile(options.actions, kMaxActionFileBytes, bytes) != FileRead::kRead) return false;
  zem::actions::ReadError error;
  if (!zem::actions::ReadActionFile(bytes.data(), bytes.size(), set, error)) return false;
  return zem::actions::ToUtf8(set.name.units) != ActionSet().name;
}

}  // namespace

std::string ResultMeaning(int32_t code) {
  switch (code) {
    case 0: return "success";
    case host::kUserCanceledErr: return "cancelled by the user";
    case host::kParamErr: return "bad parameter";
    case host::kSPOutOfMemoryError: return "out of memory";
    case host::kErrNoSuchObject: return "no such object: an action of the run is missing from the action set";
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
  const int exitCode = ReadArguments(arguments, options, out, err);
  if (exitCode >= 0) return exitCode;

  if (!options.actions.empty() && !options.about) {
    zem::actions::ActionSet set;
    if (IsOtherSet(options, set)) return PreviewOtherSet(options, set, out, err);
  }
  if (!options.action.empty() || options.skipUnknown) {
    err << "hostsim: --action and --skip-unknown preview a set other than ZEM_Variations, given with --actions\n"
        << kUsage;
    return 2;
  }

  Plugin plugin;
  if (!LoadPlugin(options, plugin, err)) return 1;
  if (options.about) return ShowAbout(plugin, out, err);

  DoItRun run;
  if (!OpenDocument(options, run, out, err) || !CallDoIt(options, plugin, run, out, err)) return 1;

  return WriteFiles(options, run, out, err) ? 0 : 1;
}

}  // namespace hostsim
