// A model of the host: it serves the basic suite and the nine suites the plug-in uses, keeps every
// object it hands out in a registry, counts suite acquisitions, allocations and calls, injects
// faults, and writes a canonical log of every event played and every property queried.
//
// One Host is current at a time; the suite functions, which the plug-in calls through plain C
// function pointers, serve the current one.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/BasicSuite.h"
#include "host/Messages.h"
#include "host/ResultCodes.h"
#include "hostsim/FaultInjector.h"
#include "hostsim/ObjectRegistry.h"
#include "hostsim/PixelDocument.h"
#include "hostsim/Values.h"

namespace hostsim {

struct Document {
  int32_t width = 1000;
  int32_t height = 800;
  bool widthKnown = true;
  bool heightKnown = true;
};

// The actions a host without a canvas plays: names only, all eighteen variations by default. A
// host with a canvas plays the canvas's set instead.
struct ActionSet {
  std::string name = "ZEM_Variations";
  std::vector<std::string> actions;

  bool Holds(const std::string& setName, const std::string& actionName) const;
};

const std::vector<std::string>& DefaultVariationActions();

// Reads the action file an 'Opn ' event names, the path as its alias held it: fills `set` and
// returns 0, or returns a code and says what is wrong with the file in `error`.
using ActionFileOpener = std::function<int32_t(const std::string& path, ActionSet& set, std::string& error)>;

// Reads the names of the file's set and actions with the project's action file reader, the path
// taken as it is (on Windows, in the ANSI code page, as an alias holds it).
int32_t OpenActionFileAsIs(const std::string& path, ActionSet& set, std::string& error);

struct SuiteUse {
  int acquired = 0;
  int released = 0;
};

class Host {
 public:
  Host();
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  static Host& Current();

  // Messages as the host sends them.
  host::SPBasicSuite* basic() { return &basicSuite_; }
  host::SPPluginRef pluginRef() const { return pluginRef_; }
  host::SPMessageData BasicMessage();
  host::PSActionsPlugInMessage DoItMessage(host::PIActionParameters* parameters);
  // Calls the entry point as the host does, with a message of the right kind.
  int32_t CallAbout(host::SPPluginEntryPoint entry);
  int32_t CallDoIt(host::SPPluginEntryPoint entry, host::PIActionParameters* parameters);

  // What the plug-in sees.
  Document document;
  // The set the host starts with, unless it starts as a fresh Photoshop does, with none.
  ActionSet actionSet;
  bool hasActionSet = true;
  // Sets loaded by 'Opn ', in order; a second load of a set adds a second set of the same name,
  // and a play by name takes the first.
  std::vector<ActionSet> loadedSets;
  ActionFileOpener openActionFile = OpenActionFileAsIs;
  // What action control Get answers for a set the host does not hold; and, when nonzero, the
  // failure it answers even for a set it holds. Photoshop's own answers are not documented.
  int32_t getErrorForMissingSet = host::kErrNoSuchObject;
  int32_t getErrorForHeldSet = 0;
  // When nonzero, 'Opn ' played inside SuspendHistory is refused with it.
  int32_t openErrorWhileSuspended = 0;
  std::string lastOpenError;  // why the latest refused 'Opn ' was refused
  std::string pluginName = "ZEM_Variations";
  // The host's main window as UIHooks' MainAppWindow hands it out (an HWND on Windows); 0 for none.
  intptr_t mainWindow = 0;
  void* accessDefaultModule = nullptr;
  void* accessResourceModule = nullptr;
  // Called after every successful play with the event's canonical text, e.g. to resize the document.
  std::function<void(const std::string& event)> afterPlay;
  // The document's pixels, when the host has them: selection events then shape its selection and
  // 'Ply ' applies the named action of the canvas's set to it (actionSet is then unused). Not owned.
  PixelDocument* canvas = nullptr;
  // Makes the host refuse a suite by name: its next `times` acquisitions, or all of them.
  static constexpr int kAlways = -1;
  void RefuseSuite(const std::string& name, int times = kAlways);
  // Makes the host refuse one version of a suite, as a host that predates it does.
  void RefuseSuiteVersion(const std::string& name, int32_t version);
  // Serves the suites with garbage above each result's declared width (DirtyResults.h), from the
  // next message on.
  bool dirtyResults = false;

  FaultInjector faults;
  ObjectRegistry objects;

  // Observations.
  bool recording = true;  // whether the log is written
  const std::vector<std::string>& log() const { return log_; }
  void ClearLog() { log_.clear(); }
  const SuiteUse& Use(const std::string& suiteName) const;
  int SuitesHeld() const;  // acquisitions not yet released, over all suites
  int AcquisitionsTotal() const;
  // Every acquisition asked for, granted or not, as "NAME/VERSION", in order.
  const std::vector<std::string>& AcquisitionsAsked() const { return acquisitionsAsked_; }
  // "acquire NAME" and "release NAME", in the order they happened.
  const std::vector<std::string>& SuiteTrail() const { return suiteTrail_; }
  int LiveBlocks() const { return static_cast<int>(blocks_.size()); }
  const std::vector<size_t>& AllocationRequests() const { return allocationRequests_; }
  const std::vector<std::string>& BrowsedUrls() const { return browsedUrls_; }
  // The history states the calls left, each by its name: one per selection event and per
  // adjustment event played, or one for everything played inside SuspendHistory.
  const std::vector<std::string>& history() const { return history_; }
  // How many runs SuspendHistory called back; the event log shows only what was played inside.
  int Suspensions() const { return suspensions_; }
  const std::vector<std::string>& violations() const { return objects.violations(); }

  // Host-side handling of descriptors, for tests and the scripting parameters.
  host::PIActionDescriptor NewDescriptor(const Descriptor& contents);
  // The scripting parameters of a recorded step: the mode under 'Cnt '.
  host::PIActionDescriptor NewModeDescriptor(int32_t mode);
  std::string DescriptorText(host::PIActionDescriptor descriptor);
  void FreeDescriptor(host::PIActionDescriptor descriptor);

  // Used by the suite functions.
  int32_t BeginCall(Op op) { return faults.OnCall(op); }
  void Log(const std::string& line) {
    if (recording) log_.push_back(line);
  }
  // The table an acquisition gets, or null when it is refused.
  const void* AcquireTable(const std::string& name, int32_t version);
  bool Serves(const std::string& name, int32_t version) const;
  void NoteAcquisitionAsked(const std::string& name, int32_t version) {
    acquisitionsAsked_.push_back(name + "/" + std::to_string(version));
  }
  void NoteAcquire(const std::string& name) {
    ++suiteUse_[name].acquired;
    suiteTrail_.push_back("acquire " + name);
  }
  bool NoteRelease(const std::string& name);
  void* Allocate(size_t size);
  bool FreeBlock(void* block);
  // The size a live block was allocated with; 0 for a block the host did not hand out.
  size_t BlockSize(void* block) const;
  int32_t PlayEvent(uint32_t event, const Descriptor* parameters, int32_t options);
  int32_t QueryProperty(uint32_t signature, uint32_t key, int32_t index, intptr_t* value);
  // Action control Get: 0 for an action set that exists, "no such object" for one that does not.
  int32_t GetObject(const Reference& reference);
  // Runs the callback as one history state named `name`; returns the callback's result.
  int32_t SuspendHistory(const std::string& name, host::SPErr(HOST_API* callback)(void*), void* data);
  // Whether the host holds a set of that name: the canvas's, or one of its own.
  bool HoldsSet(const std::string& name) const;
  void Browse(const char* url);

 private:
  host::SPBasicSuite basicSuite_;
  host::SPBasicSuite dirtyBasicSuite_;
  host::SPPluginRef pluginRef_;
  int32_t OpenActionFile(const Descriptor* parameters);
  // The first set of that name of the host's own (the canvas's set is not one of them), or null.
  const ActionSet* FindSet(const std::string& name) const;
  bool HoldsAction(const std::string& setName, const std::string& actionName) const;
  void AddHistory(const std::string& name, int states = 1);

  std::map<std::string, int> refusedSuites_;
  std::vector<std::pair<std::string, int32_t>> refusedVersions_;
  std::vector<std::string> history_;
  int suspensionDepth_ = 0;
  int suspensions_ = 0;
  std::map<std::string, SuiteUse> suiteUse_;
  std::vector<std::string> suiteTrail_;
  std::vector<std::string> acquisitionsAsked_;
  std::map<void*, size_t> blocks_;
  std::vector<size_t> allocationRequests_;
  std::vector<std::string> browsedUrls_;
  std::vector<std::string> log_;
  Host* previous_;
};

}  // namespace hostsim
