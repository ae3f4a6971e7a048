#include "hostsim/Host.h"

#include <algorithm>
#include <cstdlib>

#include "actions/BinaryFormat.h"
#include "actions/TextForm.h"
#include "host/Keys.h"
#include "host/ResultCodes.h"
#include "hostsim/DirtyResults.h"
#include "hostsim/Suites.h"
#include "platform/UniqueHandle.h"

namespace hostsim {

namespace {
Host* current = nullptr;

// The largest action file the host reads: sets saved by Photoshop are a few kilobytes.
constexpr size_t kMaxActionFileBytes = size_t(64) << 20;

// The file's bytes, the path given to the C library as it is.
bool ReadActionFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
  const zem::UniqueStdioFile file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    error = "cannot open the action file " + path;
    return false;
  }
  bytes.clear();
  uint8_t chunk[1 << 14];
  size_t got = 0;
  while (bytes.size() <= kMaxActionFileBytes && (got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  if (std::ferror(file.get()) != 0 || bytes.size() > kMaxActionFileBytes) {
    error = "cannot read the action file " + path;
    return false;
  }
  return true;
}
}  // namespace

const std::vector<std::string>& DefaultVariationActions() {
  static const std::vector<std::string> names = {
      "red_plus",        "red_minus",        "green_plus",    "green_minus",  "blue_plus",     "blue_minus",
      "contrast_plus",   "contrast_minus",   "brightness_plus", "brightness_minus", "sat_plus", "sat_minus",
      "warm_plus",       "warm_minus",       "extra1_plus",   "extra1_minus", "extra2_plus",   "extra2_minus"};
  return names;
}

bool ActionSet::Holds(const std::string& setName, const std::string& actionName) const {
  return setName == name && std::find(actions.begin(), actions.end(), actionName) != actions.end();
}

int32_t OpenActionFileAsIs(const std::string& path, ActionSet& set, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!ReadActionFileBytes(path, bytes, error)) return host::kParamErr;
  zem::actions::ActionSet file;
  zem::actions::ReadError readError;
  if (!zem::actions::ReadActionFile(bytes.data(), bytes.size(), file, readError)) {
    error = path + " is not a valid action file: " + readError.message;
    return host::kParamErr;
  }
  set.name = zem::actions::ToUtf8(file.name.units);
  set.actions.clear();
  for (const zem::actions::Action& action : file.actions) {
    set.actions.push_back(zem::actions::ToUtf8(action.name.units));
  }
  return 0;
}

Host::Host()
    : basicSuite_(BasicSuiteTable()),
      dirtyBasicSuite_(DirtyBasicSuiteTable()),
      pluginRef_(reinterpret_cast<host::SPPluginRef>(static_cast<uintptr_t>(0x5EF0))),
      previous_(current) {
  actionSet.actions = DefaultVariationActions();
  current = this;
}

Host::~Host() {
  for (auto& block : blocks_) std::free(block.first);
  current = previous_;
}

Host& Host::Current() {
  if (current == nullptr) std::abort();
  return *current;
}

host::SPMessageData Host::BasicMessage() {
  host::SPMessageData message{};
  message.SPCheck = host::kSPValidSPMessageData;
  message.self = pluginRef_;
  message.basic = dirtyResults ? &dirtyBasicSuite_ : &basicSuite_;
  return message;
}

host::PSActionsPlugInMessage Host::DoItMessage(host::PIActionParameters* parameters) {
  host::PSActionsPlugInMessage message{};
  message.d = BasicMessage();
  message.actionParameters = parameters;
  return message;
}

int32_t Host::CallAbout(host::SPPluginEntryPoint entry) {
  host::SPMessageData message = BasicMessage();
  return entry(host::kSPInterfaceCaller, host::kSPInterfaceAboutSelector, &message);
}

int32_t Host::CallDoIt(host::SPPluginEntryPoint entry, host::PIActionParameters* parameters) {
  host::PSActionsPlugInMessage message = DoItMessage(parameters);
  return entry(host::kPSPhotoshopCaller, host::kPSDoIt, &message);
}

void Host::RefuseSuite(const std::string& name, int times) { refusedSuites_[name] = times; }

void Host::RefuseSuiteVersion(const std::string& name, int32_t version) { refusedVersions_.push_back({name, version}); }

const SuiteUse& Host::Use(const std::string& suiteName) const {
  static const SuiteUse none;
  auto found = suiteUse_.find(suiteName);
  return found == suiteUse_.end() ? none : found->second;
}

int Host::SuitesHeld() const {
  int held = 0;
  for (const auto& use : suiteUse_) held += use.second.acquired - use.second.released;
  return held;
}

int Host::AcquisitionsTotal() const {
  int total = 0;
  for (const auto& use : suiteUse_) total += use.second.acquired;
  return total;
}

const void* Host::AcquireTable(const std::string& name, int32_t version) {
  auto refused = refusedSuites_.find(name);
  if (refused != refusedSuites_.end() && refused->second != 0) {
    if (refused->second > 0) --refused->second;
    return nullptr;
  }
  if (std::find(refusedVersions_.begin(), refusedVersions_.end(), std::make_pair(name, version)) !=
      refusedVersions_.end()) {
    return nullptr;
  }
  return dirtyResults ? FindDirtySuiteTable(name, version) : FindSuiteTable(name, version);
}

bool Host::Serves(const std::string& name, int32_t version) const { return FindSuiteTable(name, version) != nullptr; }

bool Host::NoteRelease(const std::string& name) {
  SuiteUse& use = suiteUse_[name];
  if (use.released >= use.acquired) {
    objects.AddViolation("ReleaseSuite: " + name + " released more often than acquired");
    return false;
  }
  ++use.released;
  suiteTrail_.push_back("release " + name);
  return true;
}

void* Host::Allocate(size_t size) {
  allocationRequests_.push_back(size);
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block != nullptr) blocks_[block] = size;
  return block;
}

size_t Host::BlockSize(void* block) const {
  auto found = blocks_.find(block);
  return found == blocks_.end() ? 0 : found->second;
}

bool Host::FreeBlock(void* block) {
  auto found = blocks_.find(block);
  if (found == blocks_.end()) {
    objects.AddViolation("FreeBlock: unknown block");
    return false;
  }
  std::free(block);
  blocks_.erase(found);
  return true;
}

host::PIActionDescriptor Host::NewDescriptor(const Descriptor& contents) {
  return reinterpret_cast<host::PIActionDescriptor>(objects.MakeDescriptor(contents));
}

host::PIActionDescriptor Host::NewModeDescriptor(int32_t mode) {
  Descriptor contents;
  contents.Put(host::kKeyCount, Value::Integer(mode));
  return NewDescriptor(contents);
}

std::string Host::DescriptorText(host::PIActionDescriptor descriptor) {
  const Descriptor* found = objects.FindDescriptor(reinterpret_cast<uintptr_t>(descriptor), "DescriptorText");
  return found ? ToText(*found) : "<no descriptor>";
}

void Host::FreeDescriptor(host::PIActionDescriptor descriptor) {
  objects.Free(ObjectKind::Descriptor, reinterpret_cast<uintptr_t>(descriptor), "host free");
}

const ActionSet* Host::FindSet(const std::string& name) const {
  if (canvas == nullptr && hasActionSet && actionSet.name == name) return &actionSet;
  for (const ActionSet& set : loadedSets) {
    if (set.name == name) return &set;
  }
  return nullptr;
}

bool Host::HoldsSet(const std::string& name) const {
  if (canvas != nullptr && !name.empty() && canvas->ActionSetName() == name) return true;
  return FindSet(name) != nullptr;
}

bool Host::HoldsAction(const std::string& setName, const std::string& actionName) const {
  const ActionSet* set = FindSet(setName);
  return set != nullptr && set->Holds(setName, actionName);
}

// 'Ply ' names its action by reference: the action first, its set second. False when the event
// does not name both.
static bool NamedAction(const Descriptor* parameters, const std::string*& setName, const std::string*& actionName) {
  const Value* target = parameters ? parameters->Find(host::kKeyNull) : nullptr;
  if (target == nullptr || target->kind != Value::Kind::Reference) return false;
  const auto& elements = target->reference->elements;
  if (elements.size() != 2) return false;
  const ReferenceElement& action = elements[0];
  const ReferenceElement& actionSet = elements[1];
  if (action.form != ReferenceElement::Form::Name || action.desiredClass != host::kClassAction) return false;
  if (actionSet.form != ReferenceElement::Form::Name || actionSet.desiredClass != host::kClassActionSet) {
    return false;
  }
  setName = &actionSet.name;
  actionName = &action.name;
  return true;
}

static bool IsSelectionEvent(uint32_t event) { return event == host::kEventSet || event == host::kEventAddTo; }

void Host::AddHistory(const std::string& name, int states) {
  if (suspensionDepth_ > 0) return;
  for (int i = 0; i < states; ++i) history_.push_back(name);
}

// 'Opn ' of an action file: the file under 'null' as an alias. Photoshop keeps no history state
// for loading actions.
int32_t Host::OpenActionFile(const Descriptor* parameters) {
  const Value* file = parameters ? parameters->Find(host::kKeyNull) : nullptr;
  if (file == nullptr || file->kind != Value::Kind::Alias || !openActionFile) return host::kParamErr;
  ActionSet loaded;
  lastOpenError.clear();
  const int32_t result = openActionFile(file->path, loaded, lastOpenError);
  if (result == 0) loadedSets.push_back(loaded);
  return result;
}

int32_t Host::PlayEvent(uint32_t event, const Descriptor* parameters, int32_t options) {
  // The event's text is made only for someone who reads it, so that measurements of the plug-in
  // with the log off are not dominated by the host's formatting.
  std::string line;
  if (recording || afterPlay) {
    line = CodeText(event);
    if (parameters != nullptr && !parameters->entries.empty()) line += " " + ToText(*parameters);
    if (options != host::plugInDialogSilent) line += " dialog=" + std::to_string(options);
  }

  int32_t result = 0;
  if (event == host::kEventPlay) {
    // With a canvas, its set is the document's one record of the actions; without, the host's sets.
    const std::string* setName = nullptr;
    const std::string* actionName = nullptr;
    if (!NamedAction(parameters, setName, actionName)) {
      result = host::kErrNoSuchObject;
    } else if (canvas != nullptr) {
      result = canvas->PlayAction(*setName, *actionName);
    } else if (!HoldsAction(*setName, *actionName)) {
      result = host::kErrNoSuchObject;
    }
    if (result == 0) {
      // Each adjustment event of the action is a state of its own.
      AddHistory(*actionName, canvas != nullptr ? canvas->HistoryStatesOf(*actionName) : 1);
    }
  } else if (event == host::kEventOpen) {
    const bool refused = suspensionDepth_ > 0 && openErrorWhileSuspended != 0;
    result = refused ? openErrorWhileSuspended : OpenActionFile(parameters);
  } else if (IsSelectionEvent(event)) {
    if (canvas != nullptr) result = parameters != nullptr ? canvas->Select(event, *parameters) : host::kParamErr;
    if (result == 0) AddHistory(CodeText(event));
  }
  Log(result == 0 ? line : line + " -> " + std::to_string(result));
  if (result == 0 && afterPlay) afterPlay(line);
  return result;
}

int32_t Host::QueryProperty(uint32_t signature, uint32_t key, int32_t index, intptr_t* value) {
  int32_t result = host::kPropertyUndefined;
  if (signature == host::kPhotoshopSignature && index == 0) {
    if (key == host::kPropDocumentWidth && document.widthKnown) {
      *value = document.width;
      result = 0;
    } else if (key == host::kPropDocumentHeight && document.heightKnown) {
      *value = document.height;
      result = 0;
    }
  }
  if (recording) {
    const std::string line = "get " + CodeText(key) + " -> ";
    Log(result == 0 ? line + std::to_string(*value) : line + "error " + std::to_string(result));
  }
  return result;
}

int32_t Host::GetObject(const Reference& reference) {
  int32_t result = host::kParamErr;
  const auto& elements = reference.elements;
  if (elements.size() == 1 && elements[0].form == ReferenceElement::Form::Name &&
      elements[0].desiredClass == host::kClassActionSet) {
    result = HoldsSet(elements[0].name) ? getErrorForHeldSet : getErrorForMissingSet;
  }
  if (recording) Log("get " + ToText(reference) + (result == 0 ? " -> found" : " -> " + std::to_string(result)));
  return result;
}

int32_t Host::SuspendHistory(const std::string& name, host::SPErr(HOST_API* callback)(void*), void* data) {
  ++suspensionDepth_;
  int32_t result = 0;
  try {
    result = callback(data);
  } catch (...) {
    // A real host's frames cannot be unwound through: this is the plug-in's fault.
    objects.AddViolation("SuspendHistory: an exception left the plug-in's callback");
    result = host::kParamErr;
  }
  --suspensionDepth_;
  ++suspensions_;
  // A callback that fails has its state taken back; the model keeps no state for it.
  if (result == 0) AddHistory(name);
  return result;
}

void Host::Browse(const char* url) {
  browsedUrls_.push_back(url ? url : "");
  Log("browse " + browsedUrls_.back());
}

}  // namespace hostsim
