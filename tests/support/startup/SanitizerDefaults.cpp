// Start-up code of every test program, fuzz target and benchmark: the sanitizer build's default
// options, which ASAN_OPTIONS may override one by one.
//
// The leak check follows the thread-local blocks of libraries loaded while the program runs (Mesa's
// driver) by watching __tls_get_addr, and guesses a block's range from a header that only older
// glibc versions write before it: a block that glibc allocates 16 bytes past a page start is read
// as a range of garbage, and the leak check crashes at exit ("Tracer caught signal 11") in a run
// whose heap happens to lie so. Without the watch, the leak check still takes every block the
// dynamic linker allocates, those blocks among them, as reachable.

// Defined by a program that runs without the leak check (tests/flash/LeakCheckOptions.cpp).
extern "C" __attribute__((weak)) const bool pondorix_without_leak_check;

extern "C" const char* __asan_default_options() {
    return &pondorix_without_leak_check != nullptr ? "intercept_tls_get_addr=0:detect_leaks=0"
                                                   : "intercept_tls_get_addr=0";
}
