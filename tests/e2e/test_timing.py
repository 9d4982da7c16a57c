"""Delayed captures and series of shots, timed by when their pages land."""
import time

import pytest

from conftest import open_test_window, set_preferences


@pytest.fixture
def pattern(environment):
    with open_test_window(environment, 0, 0, 400, 300, "Pattern", popup=True):
        yield


def landing_times(environment, before, count, quiet=6, timeout=120):
    """Seconds (monotonic) at which pages before+1, before+2, ... were first seen;
    returns once count pages are there and quiet more seconds bring no other."""
    seen = []
    deadline = time.monotonic() + timeout
    last = None
    while time.monotonic() < deadline:
        total = len(environment.pdfs())
        while before + len(seen) < total:
            seen.append(time.monotonic())
            last = seen[-1]
        if len(seen) >= count and time.monotonic() - last > quiet:
            return seen
        time.sleep(0.1)
    return seen


def press_entire_screen(desktop):
    desktop.press("ctrl", "shift", "snapshot")
    return time.monotonic()


def test_series_of_three_at_interval_two(vorlane, desktop, environment, pattern):
    set_preferences(environment, TimerSeveralShots=1, TimerNumberOfShots=3, TimerInterval=2)
    vorlane.start()
    before = len(environment.pdfs())
    pressed = press_entire_screen(desktop)
    times = landing_times(environment, before, 3)
    assert len(times) == 3, "exactly three pages, no fourth"
    gaps = [b - a for a, b in zip(times, times[1:])]
    # A page lands when the queue has made its PDF, which a busy machine can
    # delay by seconds: the gaps show the interval kept, not to the second.
    assert all(1.0 <= gap <= 6.0 for gap in gaps), gaps
    assert times[0] - pressed < 15


def test_delay_of_three_seconds(vorlane, desktop, environment, pattern):
    set_preferences(environment, TimerDelayedCapture=1, TimerDelay=3)
    vorlane.start()
    before = len(environment.pdfs())
    pressed = press_entire_screen(desktop)
    times = landing_times(environment, before, 1)
    assert len(times) == 1
    assert times[0] - pressed >= 3.0


def test_hot_key_during_a_series_restarts_it_with_a_full_count(vorlane, desktop, environment, pattern):
    set_preferences(environment, TimerSeveralShots=1, TimerNumberOfShots=3, TimerInterval=6)
    vorlane.start()
    before = len(environment.pdfs())
    press_entire_screen(desktop)
    first = landing_times(environment, before, 1, quiet=0)
    assert first
    press_entire_screen(desktop)  # before the series' second shot
    times = landing_times(environment, before, 4, quiet=8, timeout=180)
    assert len(times) == 4, "the first shot, then a new series of three"
