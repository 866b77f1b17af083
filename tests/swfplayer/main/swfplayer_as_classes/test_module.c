/* A tiny extension module for the module loader's tests: its entry point counts its calls. */

static int s_init_calls = 0;

void swfplayer_module_init(void* global) {
    (void)global;
    s_init_calls++;
}

int pondorix_test_module_init_calls(void) {
    return s_init_calls;
}
