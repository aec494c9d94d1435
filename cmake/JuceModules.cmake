# One static library holds every JUCE module we use, compiled once and shared by the plug-in,
# the tests and the tools.
find_package(JUCE CONFIG REQUIRED)
find_package(PkgConfig REQUIRED)
# Debian strips JUCE's bundled codecs and zlib, so the system ones are linked instead.
pkg_check_modules(DEBIAN_JUCE_LIBS REQUIRED IMPORTED_TARGET flac vorbis vorbisenc vorbisfile ogg zlib)

add_library(juce_modules STATIC)
target_link_libraries(juce_modules
  PRIVATE juce::juce_audio_utils juce::juce_audio_formats juce::juce_gui_extra
  PUBLIC  juce::juce_recommended_config_flags
          juce::pkgconfig_JUCE_CURL_LINUX_DEPS juce::pkgconfig_JUCE_IMG_LINUX_DEPS
          PkgConfig::DEBIAN_JUCE_LIBS)
target_compile_definitions(juce_modules
  PUBLIC JUCE_MODAL_LOOPS_PERMITTED=1
         JUCE_USE_CURL=1
         JUCE_WEB_BROWSER=0
         JUCE_VST3_CAN_REPLACE_VST2=0
         JUCE_DISPLAY_SPLASH_SCREEN=0
         JUCE_STRICT_REFCOUNTEDPOINTER=1
         JUCE_PLUGINHOST_VST3=1          # the tests and tools host the built bundles
         JUCE_PLUGINHOST_LV2=1
  INTERFACE $<TARGET_PROPERTY:juce_modules,COMPILE_DEFINITIONS>)
target_include_directories(juce_modules INTERFACE $<TARGET_PROPERTY:juce_modules,INCLUDE_DIRECTORIES>)
set_target_properties(juce_modules PROPERTIES
  POSITION_INDEPENDENT_CODE TRUE
  VISIBILITY_INLINES_HIDDEN TRUE C_VISIBILITY_PRESET hidden CXX_VISIBILITY_PRESET hidden)
