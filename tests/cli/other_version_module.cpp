// A font module another version of HzDot built: its table starts with that version, and a program
// must read nothing more of it.
namespace {

struct Head {
    const char* version;
};

const Head kHead{"0.0.0-other"};

} // namespace

extern "C" __attribute__((visibility("default"))) const void* hzdot_font_module() {
    return &kHead;
}
