// Built as libcurl.so.4 in a folder of its own: a library of libcurl's name without
// libcurl's functions, which a download must report rather than crash on.
extern "C" int zentrik_not_libcurl() { return 0; }
