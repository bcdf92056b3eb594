// Runtime options of the sanitized build. The sanitizer runtimes call these before
// main(); options in ASAN_OPTIONS, LSAN_OPTIONS and UBSAN_OPTIONS still take precedence.
// The suppression files hold findings in third-party libraries only.

extern "C" {

const char* __asan_default_options()
{
    return "detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:"
           "check_initialization_order=1:strict_init_order=1";
}

const char* __lsan_default_options() { return "suppressions=" BLIKON_SANITIZER_DIR "/lsan.supp"; }

const char* __ubsan_default_options()
{
    return "print_stacktrace=1:halt_on_error=1:suppressions=" BLIKON_SANITIZER_DIR "/ubsan.supp";
}

}  // extern "C"
