# The model of the host: its suites, the document with its selection and adjustments, the action
# sets it plays and the images it reads. Shared by the unit tests, the Windows tests, the fuzz
# targets and the reference host.
add_library(hostsim STATIC
  hostsim/AdjustmentEvents.cpp
  document/adjust/Adjustments.cpp
  document/blend/BlendModes.cpp
  document/layers/Document.cpp
  document/layers/Planes.cpp
  document/preview/SetPlayer.cpp
  document/steps/AdjustmentReading.cpp
  document/steps/Filters.cpp
  document/steps/GeometrySteps.cpp
  document/steps/LayerSteps.cpp
  document/steps/MoreSteps.cpp
  document/steps/PixelSteps.cpp
  document/steps/SelectionSteps.cpp
  document/steps/StepPlayer.cpp
  document/steps/StepSupport.cpp
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
else()
  find_package(PNG REQUIRED)
  find_package(JPEG REQUIRED)
  target_sources(hostsim PRIVATE hostsim/ImageDecoderNative.cpp)
  target_link_libraries(hostsim PRIVATE PNG::PNG JPEG::JPEG)
endif()
target_link_libraries(hostsim PUBLIC zem_actions)
