# The model of the host: its suites, the document with its selection and adjustments, the action
# sets it plays and the images it reads. Shared by the unit tests, the Windows tests, the fuzz
# targets and the reference host.
add_library(hostsim STATIC
  hostsim/AdjustmentEvents.cpp
  hostsim/adjust/ColourModels.cpp
  hostsim/adjust/DialogRanges.cpp
  hostsim/adjust/ToneCurves.cpp
  hostsim/Canvas.cpp
  hostsim/DirtyResults.cpp
  hostsim/EventConversion.cpp
  hostsim/FaultInjector.cpp
  hostsim/FileAccess.cpp
  hostsim/Host.cpp
  hostsim/Image.cpp
  hostsim/ImageFormat.cpp
  hostsim/ObjectRegistry.cpp
  hostsim/Orientation.cpp
  hostsim/PixelConversion.cpp
  hostsim/PlayableActions.cpp
  hostsim/RowWorkers.cpp
  hostsim/Selection.cpp
  hostsim/Suites.cpp
  hostsim/Thumbnail.cpp
  hostsim/Values.cpp
  ${ZEM_ACTION_SET_EMBEDDED}
)
target_include_directories(hostsim PUBLIC ${CMAKE_SOURCE_DIR} PRIVATE ${CMAKE_SOURCE_DIR}/hostsim)
# Images are decoded by the platform: the Windows Imaging Component on Windows, libpng and libjpeg
# elsewhere (Debian: libpng-dev, libjpeg-dev). Windows takes paths through UTF-16.
if(WIN32)
  target_sources(hostsim PRIVATE hostsim/ImageDecoderWic.cpp hostsim/WindowsText.cpp)
  target_link_libraries(hostsim PUBLIC windowscodecs ole32)
  # Zig's runtime has no library that defines the imaging GUIDs.
  if(ZEM_ZIG_LIB)
    target_sources(hostsim PRIVATE hostsim/WicGuids.cpp)
  endif()
else()
  find_package(PNG REQUIRED)
  find_package(JPEG REQUIRED)
  target_sources(hostsim PRIVATE hostsim/ImageDecoderNative.cpp)
  target_link_libraries(hostsim PRIVATE PNG::PNG JPEG::JPEG)
endif()
target_link_libraries(hostsim PUBLIC zem_actions)
# The host's pixels come out the same on every architecture: no multiply and add fused into one
# rounding where the target has such an instruction (compilers for ARM64 fuse them by default;
# x64's baseline has none).
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(hostsim PRIVATE -ffp-contract=off)
endif()
