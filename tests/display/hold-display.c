/* Holds a connection to the X display until it is killed. An X server that resets whenever its last
 * client leaves (as one started by a plain xvfb-run does) refuses clients while it resets; with this
 * client connected throughout, the suite's tests never meet a reset. It prints one line once connected. */
#include <X11/Xlib.h>

#include <stdio.h>
#include <unistd.h>

int main(void) {
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "hold-display: cannot open the display\n");
        return 1;
    }
    puts("connected");
    fclose(stdout);
    for (;;) {
        pause();
    }
}
