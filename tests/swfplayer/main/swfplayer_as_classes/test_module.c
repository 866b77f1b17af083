/* A tiny extension module for the module loader's tests: its entry makes no object and counts
   its calls. */

static int s_init_calls = 0;

void* swfplayer_module_init(void* owner, const void* args) {
    (void)owner;
    (void)args;
    s_init_calls++;
    return 0;
}

int pondorix_test_module_init_calls(void) {
    return s_init_calls;
}
