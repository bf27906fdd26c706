#!/usr/bin/env python3
"""Writes the seeds of game_play_fuzzer: a few real games, spelled in its actions.

    fuzz/shell/make_play_seeds.py fuzz/shell/seeds/play

Each action is a byte choosing it (its value modulo 16 in game_play_fuzzer's action table) and
the bytes it reads. A target is an index into what the screen offers a tap, in reading order
(then, while a person aims, the walk buttons): on the menu 0 is the field, 1 START, 2 help and 3
the back-to-menu button (which quits there); on the set-up screen 1, 2, 4 and 6 are the slots'
kind buttons and 8 is done (9 once the top view's button has been shown); while a person aims,
2 is the top view's button, 3 the power button and 5 and 6 walk left and right; while the power
swings, 2 is the power button. The indices were read off the running game.
"""
import pathlib
import sys


def tap(target, held=0):            # the stylus down on a target for 1 + held frames, then up
    return [0, target, held]


def hold(target, frames):           # the same, held longer
    return [5, target, frames]


def tap_at(x, y, held=0):           # at a screen point, x and y in 255ths of the screen
    return [7, x, y, held]


def drag(target, points):           # down on a target, through the points, up at the last
    return [8, target, len(points)] + [v for point in points for v in point]


def double_tap(target):
    return [9, target]


UP, LEFT, RIGHT, ESCAPE = 2, 0, 1, 10


def key(index, held=0):             # a key of the fuzzer's key table, down for 1 + held frames
    return [10, index, held]


def device_key(vk, held=0):         # any virtual key, such as game key A (195), which quits
    return [10, 15, vk, held]


def typed(code):
    return [12, code]


def wait(frames):
    return [13, frames - 1]


def wait_for_mode():                # until the game's mode changes (at most 600 frames)
    return [15]


def modes(count):
    return [wait_for_mode()] * count


# Start, done with the slots as they are (a person against the computer Dael), then the modes up
# to the person's first aim: the computer throws first.
TO_FIRST_AIM = [tap(1), tap(8)] + modes(12)
# A throw with the up key: the swing starts, runs for 26 frames, the release; then the modes up
# to the next aim.
KEY_THROW = [key(UP), wait(26), key(UP)] + modes(4)

SEEDS = {
    # A whole game thrown with the keys, back to the menu by itself.
    "keys_against_the_computer": TO_FIRST_AIM + KEY_THROW * 3 + modes(16),
    # The top view opened and closed while aiming, the thrower walked with the buttons, a throw
    # with the power button, the rest with the keys.
    "top_view_walk_and_power_button": TO_FIRST_AIM + [tap(2), wait(10), tap(0), hold(5, 20), hold(6, 8),
                                                      tap(3), wait(25), tap(2)] + modes(4) + KEY_THROW * 2 + modes(16),
    # The menu button while the ball rolls, then four computers play until the time is up.
    "menu_mid_throw_then_four_computers": TO_FIRST_AIM + [key(UP), wait(26), key(UP), wait(20), tap(3), wait(3),
                                                          tap(1), tap(1), tap(4), tap(4), tap(6), tap(6), tap(9)]
                                          + modes(100),
    # The help page, a double tap, a drag, typing and keys on the set-up screen, the slots cycled,
    # and the menu button during the target ball's throw.
    "help_odd_input_and_slots": [tap(2), wait(10), tap(0), wait(5), tap(0), double_tap(1),
                                 drag(0, [(10, 10), (200, 250)]), typed(97), key(9, 3), tap_at(120, 150), wait(5),
                                 tap(1), tap(3), tap(3), tap(4), tap(2), tap(2), tap_at(128, 128, 2),
                                 key(ESCAPE, 1), tap(8), wait_for_mode(), wait_for_mode(), tap(2)],
    # Game key A in the middle of a game: the program ends.
    "quit_with_game_key_a": TO_FIRST_AIM + [key(UP), wait(10), device_key(195)],
}


def main():
    folder = pathlib.Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    for name, actions in SEEDS.items():
        (folder / name).write_bytes(bytes(b for action in actions for b in action))


if __name__ == "__main__":
    main()
