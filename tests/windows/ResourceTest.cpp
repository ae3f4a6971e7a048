// The property list and terminology as the host reads them from the built module.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Version.h"
#include "host/FourCC.h"
#include "host/Keys.h"
#include "platform/ModuleArchitecture.h"
#include "tests/windows/LoadedModule.h"

namespace {

// Little-endian reads at a byte offset of a resource.
class Bytes {
 public:
  Bytes(const unsigned char* data, size_t size) : data_(data), size_(size) {}
  size_t size() const { return size_; }
  uint16_t U16(size_t at) const { return at + 2 <= size_ ? uint16_t(data_[at] | data_[at + 1] << 8) : 0xFFFF; }
  uint32_t U32(size_t at) const {
    return at + 4 <= size_ ? uint32_t(data_[at]) | uint32_t(data_[at + 1]) << 8 | uint32_t(data_[at + 2]) << 16 |
                                 uint32_t(data_[at + 3]) << 24
                           : 0xFFFFFFFFu;
  }
  std::string Counted(size_t at) const {
    if (at >= size_ || at + 1 + data_[at] > size_) return "<out of range>";
    return std::string(reinterpret_cast<const char*>(data_ + at + 1), data_[at]);
  }
  std::string Raw(size_t at, size_t length) const {
    return at + length <= size_ ? std::string(reinterpret_cast<const char*>(data_ + at), length) : "<out of range>";
  }

 private:
  const unsigned char* data_;
  size_t size_;
};

class ResourceTest : public ::testing::Test {
 protected:
  Bytes Resource(const char* type) {
    HRSRC found = FindResourceExA(module.handle(), type, MAKEINTRESOURCEA(16000),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (found == nullptr) return Bytes(nullptr, 0);
    return Bytes(static_cast<const unsigned char*>(LockResource(LoadResource(module.handle(), found))),
                 SizeofResource(module.handle(), found));
  }

  LoadedModule module;
};

constexpr uint32_t kVendor = host::FourCC("8BIM");

TEST_F(ResourceTest, PropertyListHoldsItsSevenRecordsInPlace) {
  Bytes pipl = Resource("PIPL");
  ASSERT_EQ(pipl.size(), 210u);
  EXPECT_EQ(pipl.U16(0), 1);
  EXPECT_EQ(pipl.U32(2), 0u);
  EXPECT_EQ(pipl.U32(6), 7u);

  struct Record {
    size_t offset;
    uint32_t key;
    uint32_t length;
  };
  // The code property is the one record that differs between the architectures.
  const Record records[] = {{10, host::FourCC("kind"), 4},
                            {30, host::FourCC("name"), 16},
                            {62, host::FourCC("catg"), 8},
                            {86, host::FourCC("vers"), 4},
                            {106, zem::kThisModule.codePropertyKey, 16},
                            {138, host::FourCC("hstm"), 32},
                            {186, host::FourCC("enbl"), 8}};
  for (const Record& record : records) {
    SCOPED_TRACE(record.offset);
    EXPECT_EQ(pipl.U32(record.offset), kVendor);
    EXPECT_EQ(pipl.U32(record.offset + 4), record.key);
    EXPECT_EQ(pipl.U32(record.offset + 8), 0u);
    EXPECT_EQ(pipl.U32(record.offset + 12), record.length);
  }
  EXPECT_EQ(pipl.Raw(10, 4), "MIB8") << "codes are stored byte-reversed";
  const bool arm64 = std::string(zem::kThisModule.name) == "ARM64";
  EXPECT_EQ(pipl.Raw(110, 4), arm64 ? "46aw" : zem::kThisModule.bits == 64 ? "4668" : "68xw")
      << "'8664' on x64, 'wa64' on ARM64, 'wx86' on x86";
  EXPECT_EQ(pipl.U32(26), host::FourCC("8LIZ"));
  EXPECT_EQ(pipl.Raw(46, 16), std::string("\x0EZEM_Variations\0", 16));
  EXPECT_EQ(pipl.Raw(78, 8), std::string("\x03ZEM\0\0\0\0", 8));
  EXPECT_EQ(pipl.U32(102), 0x00010000u);
  EXPECT_EQ(pipl.Raw(122, 16), std::string("AutoPluginMain\0\0", 16));
  EXPECT_EQ(pipl.U32(154), 0u);
  EXPECT_EQ(pipl.U32(158), host::FourCC("zemS"));
  EXPECT_EQ(pipl.U32(162), host::FourCC("zemT"));
  EXPECT_EQ(pipl.Raw(166, 2), "\x80\x3E");
  EXPECT_EQ(pipl.Raw(168, 18), std::string("ZEM_Variations\0\0\0\0", 18));
  EXPECT_EQ(pipl.Raw(202, 8), std::string("true\0\0\0\0", 8));
}

TEST_F(ResourceTest, TerminologyPublishesTheModeParameterWithoutPadding) {
  Bytes aete = Resource("AETE");
  ASSERT_EQ(aete.size(), 109u);
  EXPECT_EQ(aete.U16(0), 1);
  EXPECT_EQ(aete.Raw(2, 2), std::string("\x01\x00", 2));
  EXPECT_EQ(aete.U16(4), 0);
  EXPECT_EQ(aete.U16(6), 0);
  EXPECT_EQ(aete.U16(8), 1);
  EXPECT_EQ(aete.Counted(10), "ZEM");
  EXPECT_EQ(aete.Counted(14), "ZEM plugins");
  EXPECT_EQ(aete.U32(26), host::FourCC("zemS"));
  EXPECT_EQ(aete.U16(30), 1);
  EXPECT_EQ(aete.U16(32), 1);
  EXPECT_EQ(aete.U16(34), 1);
  EXPECT_EQ(aete.Counted(36), "ZEM_Variations");
  EXPECT_EQ(aete.Counted(51), "ZEM plugins");
  EXPECT_EQ(aete.U32(63), host::FourCC("zemS")) << "at an odd offset";
  EXPECT_EQ(aete.U32(67), host::FourCC("zemT"));
  EXPECT_EQ(aete.U32(71), host::FourCC("null"));
  EXPECT_EQ(aete.Counted(75), "");
  EXPECT_EQ(aete.Raw(76, 2), std::string("\0\0", 2));
  EXPECT_EQ(aete.U32(78), host::FourCC("#ImR"));
  EXPECT_EQ(aete.Counted(82), "");
  EXPECT_EQ(aete.Raw(83, 2), std::string("\x00\xB0", 2));
  EXPECT_EQ(aete.U16(85), 1);
  EXPECT_EQ(aete.Counted(87), "mode");
  EXPECT_EQ(aete.U32(92), host::kKeyCount);
  EXPECT_EQ(aete.U32(96), host::FourCC("long"));
  EXPECT_EQ(aete.Counted(100), "");
  EXPECT_EQ(aete.Raw(101, 8), std::string(8, '\0')) << "flags, then no classes, operators or enumerations";
}

TEST_F(ResourceTest, PropertyListAndTerminologyAgreeWithEachOtherAndTheModule) {
  Bytes pipl = Resource("PIPL");
  Bytes aete = Resource("AETE");
  ASSERT_EQ(pipl.size(), 210u);
  ASSERT_EQ(aete.size(), 109u);
  EXPECT_EQ(pipl.U32(158), aete.U32(26)) << "class id and suite id";
  EXPECT_EQ(pipl.U32(158), aete.U32(63)) << "class id and event class";
  EXPECT_EQ(pipl.U32(162), aete.U32(67)) << "event ids";
  EXPECT_EQ(pipl.U16(166), 16000) << "the terminology's own id";
  const std::string name = pipl.Counted(46);
  EXPECT_EQ(name, "ZEM_Variations");
  EXPECT_EQ(std::string(pipl.Raw(168, 14)), name) << "scope";
  EXPECT_EQ(aete.Counted(36), name) << "event name";
  EXPECT_NE(module.Export(pipl.Raw(122, 14).c_str()), nullptr) << "the code property names a real export";
}

// What Windows shows in the module's file properties: the product, the version set in the build,
// and which architecture this module is for.
TEST_F(ResourceTest, VersionResourceNamesTheProductItsVersionAndItsArchitecture) {
  DWORD unused = 0;
  const DWORD size = GetFileVersionInfoSizeA(module.path().c_str(), &unused);
  ASSERT_GT(size, 0u) << "no version resource, error " << GetLastError();
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(module.path().c_str(), 0, size, info.data()));
  auto text = [&info](const std::string& name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = "\\StringFileInfo\\040904B0\\" + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) return std::string("<none>");
    return std::string(value);
  };
  EXPECT_EQ(text("ProductName"), "ZEM_Variations");
  EXPECT_EQ(text("ProductVersion"), ZEM_VERSION_TEXT);
  EXPECT_EQ(text("FileVersion"), ZEM_VERSION_TEXT);
  EXPECT_EQ(text("FileDescription"), std::string("ZEM_Variations automation plug-in (") + zem::kThisModule.name + ")");
  EXPECT_EQ(text("OriginalFilename"), "ZEM_Variations.8li");

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, DWORD(ZEM_VERSION_MAJOR) << 16 | ZEM_VERSION_MINOR);
  EXPECT_EQ(fixed->dwFileVersionLS, DWORD(ZEM_VERSION_PATCH) << 16);
  EXPECT_EQ(fixed->dwFileType, DWORD(VFT_DLL));
}

}  // namespace
