# quillscan.exe's resources (icon group, manifest, version information) as an object library
# for the window program to link. Built on every Windows build, also one without the window, so
# that the resource compiler checks them.
if(NOT WIN32)
  return()
endif()
enable_language(RC)

set(version_header_dir ${CMAKE_BINARY_DIR}/generated/resources)
file(CONFIGURE OUTPUT ${version_header_dir}/quillscan_version.h CONTENT [[
#define QUILLSCAN_VERSION_MAJOR @PROJECT_VERSION_MAJOR@
#define QUILLSCAN_VERSION_MINOR @PROJECT_VERSION_MINOR@
#define QUILLSCAN_VERSION_PATCH @PROJECT_VERSION_PATCH@
#define QUILLSCAN_VERSION_TEXT "@PROJECT_VERSION@"
]] @ONLY)

add_library(quillscan_resources OBJECT ${PROJECT_SOURCE_DIR}/src/window/quillscan.rc)
# The resource compiler finds the icon and the manifest on the include path.
target_include_directories(quillscan_resources PRIVATE
  ${version_header_dir} ${PROJECT_SOURCE_DIR}/data/icons ${PROJECT_SOURCE_DIR}/src/window)
# The resources carry the manifest; the MSVC linker would add a second one of its own.
target_link_options(quillscan_resources INTERFACE $<$<CXX_COMPILER_ID:MSVC>:/MANIFEST:NO>)
