// Pango's fontconfig font map loses some of its cached patterns when it is set up (a fixed amount
// once per process, not growing with use); those are the library's, not ours. Without frame
// pointers in fontconfig the default stack unwinding stops there, so its frames are named too.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libpangoft2-1.0.so\nleak:libfontconfig.so\n";
}
