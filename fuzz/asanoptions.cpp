// The address sanitizer's defaults for the fuzz targets (ASAN_OPTIONS still overrides them).
// Every allocation records its call stack, which costs a tenth of a short input's time at the
// full depth of 30 frames; 8 still name the code that allocated or freed, and what is
// detected does not change. The quarantine of freed memory stays at its default.
extern "C" const char* __asan_default_options() { return "malloc_context_size=8"; }
