/* The KWin tests' own input device: reads commands on standard input, one a line, sends each
 * through KWin's fake-input protocol and answers "ok" once KWin has handled it (a round trip):
 *   move X Y          absolute motion to the desktop pixel (X, Y)
 *   press B|release B a button by its Linux input code (272 left, 273 right, 274 middle)
 *   key K [S]         a key by its Linux input code (119 Pause) pressed (S 1), let go (S 0)
 *                     or both
 * It answers "refused" and exits when KWin does not offer the protocol to it (no .desktop file
 * grants it). */
#include <stdio.h>
#include <string.h>
#include <wayland-client.h>

#include "fake-input-client-protocol.h"

static struct org_kde_kwin_fake_input* fake;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)data;
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4) {
        fake = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
    }
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data, (void)registry, (void)name;
}

static const struct wl_registry_listener listener = {global, global_remove};

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "fake_input_tool: no Wayland display\n");
        return 1;
    }
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, NULL);
    wl_display_roundtrip(display);
    if (!fake) {
        puts("refused");
        return 2;
    }
    org_kde_kwin_fake_input_authenticate(fake, "tz-tests", "end-to-end tests");
    wl_display_roundtrip(display);
    setvbuf(stdout, NULL, _IOLBF, 0);
    puts("ready");

    char line[128];
    while (fgets(line, sizeof line, stdin)) {
        double x, y;
        unsigned code, state;
        if (sscanf(line, "move %lf %lf", &x, &y) == 2) {
            org_kde_kwin_fake_input_pointer_motion_absolute(fake, wl_fixed_from_double(x),
                                                            wl_fixed_from_double(y));
        } else if (sscanf(line, "press %u", &code) == 1) {
            org_kde_kwin_fake_input_button(fake, code, WL_POINTER_BUTTON_STATE_PRESSED);
        } else if (sscanf(line, "release %u", &code) == 1) {
            org_kde_kwin_fake_input_button(fake, code, WL_POINTER_BUTTON_STATE_RELEASED);
        } else if (sscanf(line, "key %u %u", &code, &state) == 2) {
            org_kde_kwin_fake_input_keyboard_key(fake, code, state);
        } else if (sscanf(line, "key %u", &code) == 1) {
            org_kde_kwin_fake_input_keyboard_key(fake, code, WL_KEYBOARD_KEY_STATE_PRESSED);
            org_kde_kwin_fake_input_keyboard_key(fake, code, WL_KEYBOARD_KEY_STATE_RELEASED);
        } else {
            puts("unknown");
            continue;
        }
        if (wl_display_roundtrip(display) < 0) {
            return 1;
        }
        puts("ok");
    }
    wl_display_disconnect(display);
    return 0;
}
