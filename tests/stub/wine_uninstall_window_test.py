#!/usr/bin/python3
"""The uninstaller's progress window under Wine on a virtual screen: it has the size of the
installer's wizard window, a white header with the program's icon at its right, and the
button face below the header. An uninstall command holds the window long enough to look at.

Usage: wine_uninstall_window_test.py DATA_DIR PREFIX_DIR
DATA_DIR holds Install.exe and Uninstall.exe; PREFIX_DIR is a Wine prefix (created when
missing).
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from setup_maker import Setup  # noqa: E402
from wine_screen import WineScreen, check, exit_code, failures, missing_tool  # noqa: E402
import wine_capability  # noqa: E402

DATA, PREFIX = sys.argv[1], os.path.abspath(sys.argv[2])
wine_capability.skip_unless_wine_runs()
TOOLS = ('Xvfb', 'xdotool', 'import', 'convert')
if missing_tool(TOOLS):
    print('SKIPPED: uninstaller window checks: %s is not installed' % missing_tool(TOOLS))
    sys.exit(wine_capability.SKIP_STATUS)

TITLE = 'Window Product Setup'
UNINSTALL_TITLE = 'Window Product Uninstall'
FOLDER = 'C:\\WindowProduct'
# The wizard's client area (wizard_geometry.h): page and button bar; the header's height and
# where the icon sits in it.
CLIENT_WIDTH, CLIENT_HEIGHT, HEADER_HEIGHT = 497, 316 + 46, 60
ICON_X, ICON_Y, ICON_SIZE = 497 - 16 - 32, (60 - 32) // 2, 32


def make_setup(path):
    """A welcome page, then the installation; the uninstaller's first command waits a while."""
    s = Setup(os.path.join(DATA, 'Install.exe'), os.path.join(DATA, 'Uninstall.exe'))
    f = s.fields
    f[65], f[75], f[58] = TITLE, UNINSTALL_TITLE, FOLDER
    f[110], f[111] = '0', '1'
    s.sections['J'] = [['0', 'C:\\windows\\system32\\cmd.exe', '/c ping -n 10 127.0.0.1 >nul', '0', '0', '1']]
    s.add_file(b'kept a while\r\n', '@$&%04\\file.txt')
    s.write(path)


def size(screen, window):
    shell = screen.xdotool('getwindowgeometry', '--shell', window).stdout.decode()
    values = dict(line.split('=', 1) for line in shell.split() if '=' in line)
    return int(values.get('WIDTH', 0)), int(values.get('HEIGHT', 0))


def pixel(picture, x, y):
    return subprocess.run(['convert', picture, '-format', '%%[pixel:p{%d,%d}]' % (x, y), 'info:'],
                          capture_output=True, text=True).stdout.strip()


def uniform(picture, x, y, cx, cy):
    """Whether the area shows one colour only."""
    r = subprocess.run(['convert', picture, '-crop', '%dx%d+%d+%d' % (cx, cy, x, y), '+repage', '-format',
                        '%[fx:standard_deviation]', 'info:'], capture_output=True, text=True)
    return float(r.stdout.strip() or 0) == 0


def window_other_than(screen, title, other, timeout=60):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        window = screen.wait_window(title, 10)
        if window and window != other:
            return window
    return ''


def main():
    screen = WineScreen(PREFIX)
    shutil.rmtree(screen.host(FOLDER), ignore_errors=True)
    with tempfile.TemporaryDirectory() as tmp:
        setup = os.path.join(tmp, 'Setup.exe')
        make_setup(setup)
        proc = screen.start(setup)
        wizard = screen.wait_window(TITLE)
        check(wizard != '', 'the wizard appears')
        wizard_size = size(screen, wizard) if wizard else (0, 0)
        screen.keys('Return', 'wait', 'Return')  # installs, then closes the closing message
        check(proc.wait(timeout=120) == 0, 'installed')
        uninstaller = screen.start(screen.host(FOLDER + '\\Uninstall.exe'))
        question = screen.wait_window(UNINSTALL_TITLE)
        check(question != '', 'the uninstaller asks')
        screen.keys('Return')
        progress = window_other_than(screen, UNINSTALL_TITLE, question)
        check(progress != '', 'the progress window appears under the uninstaller\'s title')
        if progress:
            shot = os.path.join(tmp, 'progress.png')
            screen.photograph(progress, shot)
            width, height = size(screen, progress)
            check((width, height) == wizard_size and width >= CLIENT_WIDTH,
                  'the progress window has the wizard\'s size: %dx%d, wizard %dx%d' % ((width, height) + wizard_size))
            # The frame is as wide on every side but the top, where the caption is.
            left = (width - CLIENT_WIDTH) // 2
            top = height - CLIENT_HEIGHT - left
            white = pixel(shot, left + CLIENT_WIDTH // 2, top + HEADER_HEIGHT - 12)
            check(white in ('srgb(255,255,255)', 'white'), 'the header is white: %s' % white)
            face = pixel(shot, left + CLIENT_WIDTH // 2, top + 200)
            check(face != white, 'the page below the header has the button face: %s' % face)
            check(not uniform(shot, left + ICON_X, top + ICON_Y, ICON_SIZE, ICON_SIZE), 'the icon is in the header')
        if window_other_than(screen, UNINSTALL_TITLE, progress):
            screen.keys('Return')  # the closing message
        code = exit_code(uninstaller)
        check(code == 0, 'removed: exit code %s' % code)
        check(not os.path.exists(screen.host(FOLDER + '\\file.txt')), 'the file is removed')
    screen.close()
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
