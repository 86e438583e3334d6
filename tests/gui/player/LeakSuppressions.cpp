// Memory that the audio, media and font libraries allocate once per process (PulseAudio's
// client, GStreamer's device monitor and plugin start-up, fontconfig) and never give back. The
// leak checker of the sanitizer build asks for this list at start; other builds never call it.
// The Vulkan plugin's one error text shows only as vasprintf: the libraries keep no frame
// pointers to unwind by.
extern "C" const char* __lsan_default_suppressions();

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libpulse.so\n"
         "leak:libpulsecommon\n"
         "leak:libgstreamer-1.0.so\n"
         "leak:libgstvulkan-1.0.so\n"
         "leak:libglib-2.0.so\n"
         "leak:libfontconfig.so\n"
         "leak:__vasprintf_internal\n";
}
