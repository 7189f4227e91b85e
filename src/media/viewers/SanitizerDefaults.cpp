// In a build with AddressSanitizer (the tests' build), the web engine's own code (Debian's
// library, not instrumented) frees some of its objects with a sized delete whose size
// differs from the allocation's, which the sanitizer reports as new-delete-type-mismatch
// and aborts on. This default is compiled into every program that may start the web
// engine (the program and the viewers' tests); all other checks stay on, and ASAN_OPTIONS
// still overrides it.
extern "C" const char* __asan_default_options() {
    return "new_delete_type_mismatch=0";
}
