/* virtual_input: a keyboard and a pointer for the end-to-end checks on a
 * Wayland compositor, through the virtual-keyboard and virtual-pointer
 * protocols.
 *
 * The keyboard uploads the keymap xkbcommon compiles for the system's
 * ordinary layout (rules evdev, model pc105, layout us), so each key sends
 * the code a real keyboard sends at that position: programs that read key
 * positions (native scan codes) hear the key that was meant.
 *
 * Commands, one per line on standard input (or one given as arguments); each
 * is answered on standard output with "ok" once the compositor has handled
 * it, or "error: ..." (the program goes on with the next line):
 *   keydown KEY | keyup KEY   hold or release a key (X keysym names: z, KP_2,
 *                             F12, Escape, space, Return ...)
 *   press KEY...              press and release each; KEY may be a chord of
 *                             modifiers and a key: ctrl+shift+z
 *   type TEXT                 type the rest of the line (ASCII)
 *   move X Y                  put the pointer at X,Y of the output layout
 *                             (logical pixels, as xdg-output places outputs)
 *   click X Y [BUTTON]        move there and click (1 left, 2 middle, 3 right)
 *   mousedown [BUTTON] | mouseup [BUTTON]
 */
#define _GNU_SOURCE
#include <ctype.h>
#include <errno.h>
#include <linux/input-event-codes.h>
#include <stdarg.h>
#include <stdbool.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

/* Between the events of one press or of typed text, as a quick typist. */
enum { KEY_GAP_US = 20000 };

/* An output's place in the layout, in logical pixels (xdg-output: wl_output
 * itself does not tell where the compositor put it). */
struct output {
    struct wl_output* wl;
    struct zxdg_output_v1* xdg;
    int32_t x, y, width, height;
};

enum { MAX_OUTPUTS = 8 };

static struct {
    struct wl_display* display;
    struct wl_seat* seat;
    struct zwp_virtual_keyboard_manager_v1* keyboard_manager;
    struct zwlr_virtual_pointer_manager_v1* pointer_manager;
    struct zxdg_output_manager_v1* output_manager;
    struct zwp_virtual_keyboard_v1* keyboard;
    struct zwlr_virtual_pointer_v1* pointer;
    struct output outputs[MAX_OUTPUTS];
    int output_count;
    struct xkb_context* xkb;
    struct xkb_keymap* keymap;
    struct xkb_state* state;
    xkb_mod_mask_t sent_mods[4];
} rig;

static uint32_t now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

static void logical_position(void* data, struct zxdg_output_v1* o, int32_t x, int32_t y)
{
    (void)o;
    struct output* out = data;
    out->x = x;
    out->y = y;
}

static void logical_size(void* data, struct zxdg_output_v1* o, int32_t width, int32_t height)
{
    (void)o;
    struct output* out = data;
    out->width = width;
    out->height = height;
}

static void output_done(void* data, struct zxdg_output_v1* o) { (void)data, (void)o; }
static void output_name(void* data, struct zxdg_output_v1* o, const char* name) { (void)data, (void)o, (void)name; }

static const struct zxdg_output_v1_listener output_listener = {.logical_position = logical_position,
                                                               .logical_size = logical_size,
                                                               .done = output_done,
                                                               .name = output_name,
                                                               .description = output_name};

static void global_added(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                         uint32_t version)
{
    (void)data, (void)version;
    if (!strcmp(interface, wl_seat_interface.name) && !rig.seat)
        rig.seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (!strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name))
        rig.keyboard_manager = wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
    else if (!strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name))
        rig.pointer_manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
    else if (!strcmp(interface, zxdg_output_manager_v1_interface.name) && version >= 2)
        rig.output_manager = wl_registry_bind(registry, name, &zxdg_output_manager_v1_interface, 2);
    else if (!strcmp(interface, wl_output_interface.name) && rig.output_count < MAX_OUTPUTS)
        rig.outputs[rig.output_count++].wl = wl_registry_bind(registry, name, &wl_output_interface, 1);
}

static void global_removed(void* data, struct wl_registry* registry, uint32_t name)
{
    (void)data, (void)registry, (void)name;
}

static const struct wl_registry_listener registry_listener = {.global = global_added, .global_remove = global_removed};

static void die(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    fputs("virtual_input: ", stderr);
    vfprintf(stderr, format, args);
    fputc('\n', stderr);
    va_end(args);
    exit(1);
}

/* The keymap goes to the compositor as a file it maps, with its final NUL. */
static void upload_keymap(void)
{
    struct xkb_rule_names names = {.rules = "evdev", .model = "pc105", .layout = "us"};
    rig.xkb = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    rig.keymap = rig.xkb ? xkb_keymap_new_from_names(rig.xkb, &names, XKB_KEYMAP_COMPILE_NO_FLAGS) : NULL;
    if (!rig.keymap)
        die("xkbcommon cannot compile the evdev/pc105/us keymap");
    rig.state = xkb_state_new(rig.keymap);
    char* text = xkb_keymap_get_as_string(rig.keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    size_t size = strlen(text) + 1;
    int fd = memfd_create("keymap", MFD_CLOEXEC);
    if (fd < 0 || write(fd, text, size) != (ssize_t)size)
        die("cannot hold the keymap in memory: %s", strerror(errno));
    free(text);
    zwp_virtual_keyboard_v1_keymap(rig.keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, (uint32_t)size);
    close(fd);
}

/* Keycodes of the evdev keymap lie below this. */
enum { KEYCODES = 768 };

/* A key as the keymap places it: its keycode and the modifiers its symbol needs. */
struct key {
    xkb_keycode_t code;
    xkb_mod_mask_t mods;
};

static bool holdable_mods(xkb_keycode_t code, xkb_level_index_t level, xkb_mod_mask_t* mods);

static xkb_keysym_t keysym_named(const char* name)
{
    static const struct {
        const char *alias, *keysym;
    } aliases[] = {{"ctrl", "Control_L"}, {"control", "Control_L"}, {"shift", "Shift_L"},
                   {"alt", "Alt_L"},      {"super", "Super_L"},     {"meta", "Meta_L"}};
    for (size_t i = 0; i < sizeof aliases / sizeof aliases[0]; ++i)
        if (!strcasecmp(name, aliases[i].alias))
            name = aliases[i].keysym;
    xkb_keysym_t sym = xkb_keysym_from_name(name, XKB_KEYSYM_NO_FLAGS);
    return sym != XKB_KEY_NoSymbol ? sym : xkb_keysym_from_name(name, XKB_KEYSYM_CASE_INSENSITIVE);
}

/* The lowest shift level wins: "z" is the z key alone, "Z" the z key with Shift. */
static bool find_key(xkb_keysym_t sym, struct key* key)
{
    for (xkb_level_index_t level = 0; level < 4; ++level) {
        for (xkb_keycode_t code = xkb_keymap_min_keycode(rig.keymap); code <= xkb_keymap_max_keycode(rig.keymap) && code < KEYCODES;
             ++code) {
            const xkb_keysym_t* syms;
            if (level >= xkb_keymap_num_levels_for_key(rig.keymap, code, 0))
                continue;
            int n = xkb_keymap_key_get_syms_by_level(rig.keymap, code, 0, level, &syms);
            for (int i = 0; i < n; ++i) {
                if (syms[i] != sym)
                    continue;
                if (!holdable_mods(code, level, &key->mods))
                    continue;
                key->code = code;
                return true;
            }
        }
    }
    return false;
}

/* The modifiers of the keyboard follow our own state, as a real keyboard's do. */
static void send_key(xkb_keycode_t code, bool down)
{
    zwp_virtual_keyboard_v1_key(rig.keyboard, now_ms(), code - 8,
                                down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
    xkb_state_update_key(rig.state, code, down ? XKB_KEY_DOWN : XKB_KEY_UP);
    xkb_mod_mask_t mods[4] = {
        xkb_state_serialize_mods(rig.state, XKB_STATE_MODS_DEPRESSED),
        xkb_state_serialize_mods(rig.state, XKB_STATE_MODS_LATCHED),
        xkb_state_serialize_mods(rig.state, XKB_STATE_MODS_LOCKED),
        xkb_state_serialize_layout(rig.state, XKB_STATE_LAYOUT_EFFECTIVE),
    };
    if (memcmp(mods, rig.sent_mods, sizeof mods)) {
        zwp_virtual_keyboard_v1_modifiers(rig.keyboard, mods[0], mods[1], mods[2], mods[3]);
        memcpy(rig.sent_mods, mods, sizeof mods);
    }
    wl_display_flush(rig.display);
    usleep(KEY_GAP_US);
}

/* What one press takes: the keys held in order, and the locks switched on around them. */
struct chord {
    xkb_keycode_t held[16];
    int held_count;
    xkb_keycode_t locks[2];
    int lock_count;
};

static const struct {
    const char *modifier, *keysym;
    bool lock;
} modifier_keys[] = {{XKB_MOD_NAME_SHIFT, "Shift_L", false},
                     {XKB_MOD_NAME_CTRL, "Control_L", false},
                     {XKB_MOD_NAME_ALT, "Alt_L", false},
                     {XKB_MOD_NAME_NUM, "Num_Lock", true},
                     {XKB_MOD_NAME_CAPS, "Caps_Lock", true}};

/* Adds the keys that set the modifiers of a mask; false when one has no key. */
static bool add_modifiers(struct chord* chord, xkb_mod_mask_t mods)
{
    for (size_t i = 0; i < sizeof modifier_keys / sizeof modifier_keys[0]; ++i) {
        xkb_mod_index_t index = xkb_keymap_mod_get_index(rig.keymap, modifier_keys[i].modifier);
        struct key key;
        if (index == XKB_MOD_INVALID || !(mods & (1u << index)))
            continue;
        if (!find_key(keysym_named(modifier_keys[i].keysym), &key) || key.mods)
            return false;
        if (modifier_keys[i].lock && chord->lock_count < 2)
            chord->locks[chord->lock_count++] = key.code;
        else if (!modifier_keys[i].lock && chord->held_count < 15)
            chord->held[chord->held_count++] = key.code;
        else
            return false;
        mods &= ~(1u << index);
    }
    return !mods;
}

/* Of the modifier sets that reach a shift level, one that keys can set, best
 * without a lock (keypad digits need Num Lock, as on a real keyboard). */
static bool holdable_mods(xkb_keycode_t code, xkb_level_index_t level, xkb_mod_mask_t* mods)
{
    xkb_mod_mask_t masks[8] = {0};
    size_t count = xkb_keymap_key_get_mods_for_level(rig.keymap, code, 0, level, masks, 8);
    int best_locks = 3;
    for (size_t i = 0; i < count; ++i) {
        struct chord chord = {.held_count = 0};
        if (masks[i] != 0 && !add_modifiers(&chord, masks[i]))
            continue;
        if (chord.lock_count < best_locks) {
            best_locks = chord.lock_count;
            *mods = masks[i];
        }
    }
    return best_locks < 3;
}

static const char* add_key(struct chord* chord, xkb_keysym_t sym)
{
    struct key key;
    if (sym == XKB_KEY_NoSymbol || !find_key(sym, &key))
        return "unknown key";
    if (key.mods && !add_modifiers(chord, key.mods))
        return "no key sets the modifiers the symbol needs";
    if (chord->held_count >= 16)
        return "too many keys in one chord";
    chord->held[chord->held_count++] = key.code;
    return NULL;
}

static void tap(xkb_keycode_t code)
{
    send_key(code, true);
    send_key(code, false);
}

/* Down (direction 1), up (-1) or both (0).  A lock is switched on for the
 * first chord that needs it when it was off, and off again with the last. */
static void send_chord(const struct chord* chord, int direction)
{
    static int holds[KEYCODES];
    static bool switched_on[KEYCODES];
    if (direction >= 0) {
        for (int i = 0; i < chord->lock_count; ++i) {
            xkb_keycode_t lock = chord->locks[i];
            if (holds[lock]++ > 0)
                continue;
            xkb_mod_mask_t before = xkb_state_serialize_mods(rig.state, XKB_STATE_MODS_LOCKED);
            tap(lock);
            switched_on[lock] = xkb_state_serialize_mods(rig.state, XKB_STATE_MODS_LOCKED) > before;
            if (!switched_on[lock])
                tap(lock); /* it was on already: leave it so */
        }
        for (int i = 0; i < chord->held_count; ++i)
            send_key(chord->held[i], true);
    }
    if (direction <= 0) {
        for (int i = chord->held_count - 1; i >= 0; --i)
            send_key(chord->held[i], false);
        for (int i = chord->lock_count - 1; i >= 0; --i) {
            xkb_keycode_t lock = chord->locks[i];
            if (holds[lock] > 0 && --holds[lock] == 0 && switched_on[lock])
                tap(lock);
        }
    }
}

/* A chord "ctrl+shift+z": every part held in order, released in reverse. */
static const char* press_chord(char* text, int direction)
{
    struct chord chord = {.held_count = 0};
    for (char* part = strtok(text, "+"); part; part = strtok(NULL, "+")) {
        const char* error = add_key(&chord, keysym_named(part));
        if (error)
            return error;
    }
    send_chord(&chord, direction);
    return NULL;
}

static const char* type_text(const char* text)
{
    for (const char* c = text; *c; ++c) {
        struct chord chord = {.held_count = 0};
        const char* error = add_key(&chord, xkb_utf32_to_keysym((uint32_t)(unsigned char)*c));
        if (error)
            return error;
        send_chord(&chord, 0);
    }
    return NULL;
}

/* Absolute positions are shares of the whole output layout in logical pixels. */
static bool layout_extent(int32_t* width, int32_t* height)
{
    int32_t right = 0, bottom = 0;
    for (int i = 0; i < rig.output_count; ++i) {
        const struct output* o = &rig.outputs[i];
        if (o->x + o->width > right)
            right = o->x + o->width;
        if (o->y + o->height > bottom)
            bottom = o->y + o->height;
    }
    *width = right;
    *height = bottom;
    return right > 0 && bottom > 0;
}

static const char* move_to(const char* xs, const char* ys)
{
    char *end_x, *end_y;
    long x = xs ? strtol(xs, &end_x, 10) : -1, y = ys ? strtol(ys, &end_y, 10) : -1;
    int32_t width, height;
    if (!xs || !ys || *end_x || *end_y)
        return "expected X Y";
    if (!layout_extent(&width, &height))
        return "the compositor announced no output";
    if (x < 0 || y < 0 || x >= width || y >= height)
        return "outside the outputs";
    zwlr_virtual_pointer_v1_motion_absolute(rig.pointer, now_ms(), (uint32_t)x, (uint32_t)y, (uint32_t)width,
                                            (uint32_t)height);
    zwlr_virtual_pointer_v1_frame(rig.pointer);
    return NULL;
}

static const char* button(const char* which, bool down)
{
    static const uint32_t codes[] = {BTN_LEFT, BTN_MIDDLE, BTN_RIGHT};
    long n = which ? strtol(which, NULL, 10) : 1;
    if (n < 1 || n > 3)
        return "buttons are 1, 2 and 3";
    zwlr_virtual_pointer_v1_button(rig.pointer, now_ms(), codes[n - 1],
                                   down ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(rig.pointer);
    wl_display_flush(rig.display);
    usleep(KEY_GAP_US);
    return NULL;
}

static const char* run(char* line)
{
    char* rest = NULL;
    char* command = strtok_r(line, " \t", &rest);
    if (!command)
        return "empty command";
    if (!strcmp(command, "type"))
        return type_text(rest + strspn(rest, " \t"));
    char* args[3] = {NULL, NULL, NULL};
    for (int i = 0; i < 3; ++i)
        args[i] = strtok_r(NULL, " \t", &rest);
    if (!strcmp(command, "keydown") || !strcmp(command, "keyup")) {
        if (!args[0])
            return "expected a key";
        return press_chord(args[0], !strcmp(command, "keydown") ? 1 : -1);
    }
    if (!strcmp(command, "press")) {
        if (!args[0])
            return "expected a key";
        for (int i = 0; i < 3 && args[i]; ++i) {
            const char* error = press_chord(args[i], 0);
            if (error)
                return error;
        }
        return strtok_r(NULL, " \t", &rest) ? "at most three keys a line" : NULL;
    }
    if (!strcmp(command, "move"))
        return move_to(args[0], args[1]);
    if (!strcmp(command, "click")) {
        const char* error = move_to(args[0], args[1]);
        if (!error)
            error = button(args[2], true);
        return error ? error : button(args[2], false);
    }
    if (!strcmp(command, "mousedown") || !strcmp(command, "mouseup"))
        return button(args[0], !strcmp(command, "mousedown"));
    return "unknown command";
}

/* Answers once the compositor has handled every request of the command. */
static void answer(const char* error)
{
    if (wl_display_roundtrip(rig.display) < 0)
        die("lost the compositor");
    if (error)
        printf("error: %s\n", error);
    else
        puts("ok");
    fflush(stdout);
}

int main(int argc, char** argv)
{
    rig.display = wl_display_connect(NULL);
    if (!rig.display)
        die("cannot connect to the Wayland display (WAYLAND_DISPLAY)");
    struct wl_registry* registry = wl_display_get_registry(rig.display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(rig.display);
    if (!rig.seat || !rig.keyboard_manager || !rig.pointer_manager || !rig.output_manager)
        die("the compositor offers no seat, virtual keyboard, virtual pointer or xdg-output");
    for (int i = 0; i < rig.output_count; ++i) {
        rig.outputs[i].xdg = zxdg_output_manager_v1_get_xdg_output(rig.output_manager, rig.outputs[i].wl);
        zxdg_output_v1_add_listener(rig.outputs[i].xdg, &output_listener, &rig.outputs[i]);
    }
    rig.keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(rig.keyboard_manager, rig.seat);
    rig.pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(rig.pointer_manager, rig.seat);
    upload_keymap();
    if (wl_display_roundtrip(rig.display) < 0)
        die("the compositor refused the virtual devices");

    if (argc > 1) {
        char line[1024] = "";
        for (int i = 1; i < argc; ++i) {
            strncat(line, argv[i], sizeof line - strlen(line) - 2);
            strcat(line, " ");
        }
        line[strlen(line) - 1] = 0;
        const char* error = run(line);
        answer(error);
        return error ? 1 : 0;
    }
    char* line = NULL;
    size_t capacity = 0;
    ssize_t length;
    while ((length = getline(&line, &capacity, stdin)) >= 0) {
        while (length > 0 && isspace((unsigned char)line[length - 1]))
            line[--length] = 0;
        answer(run(line));
    }
    free(line);
    return 0;
}
