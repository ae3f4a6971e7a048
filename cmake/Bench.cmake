# The benchmark: host calls and instructions per "Do It", against the host model with its log off.
add_library(call_budget STATIC tests/support/CallBudget.cpp)
target_include_directories(call_budget PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(call_budget PUBLIC hostsim)

# The dialogs are never shown here; the test doubles stand in for them.
add_executable(run_cost bench/RunCost.cpp tests/support/FakeDialogs.cpp)
target_link_libraries(run_cost PRIVATE call_budget zem_core)

# The reference host's whole run, and its adjustment events alone, on a generated photo against
# ImageMagick's convert.
add_library(photo_image STATIC bench/PhotoImage.cpp)
target_link_libraries(photo_image PUBLIC imaging)
add_executable(adjust_cost bench/AdjustCost.cpp)
target_link_libraries(adjust_cost PRIVATE reference_host photo_image)
add_executable(whole_run bench/WholeRun.cpp)
target_link_libraries(whole_run PRIVATE reference_host photo_image)
# Previewing a set of 50 recorded actions on a 12-megapixel photo.
add_executable(preview_cost bench/PreviewCost.cpp)
target_link_libraries(preview_cost PRIVATE reference_host photo_image)
