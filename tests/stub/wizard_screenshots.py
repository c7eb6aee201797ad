#!/usr/bin/python3
"""Photographs every window of the installer and the uninstaller under Wine, in English or in
Russian, for the documentation: the showcase project (every page and look switched on), built
by the program's /build and gone through with the keyboard.

Usage: wizard_screenshots.py [--licence=RTF_FILE] PROGRAM MAKER PREFIX_DIR OUT_DIR [en|ru] [picture|png]
PROGRAM is the program (its folder holds Data/, Bitmaps/ and Language/), MAKER the helper that
writes project files (stub_project_maker); the pictures are written as
OUT_DIR/installer-<window>[-ru].png. The English setup has one language, the Russian one two
(the choice comes first). With "picture" the background is the logo picture stretched instead
of a gradient; with "png" the header picture is the folder page's PNG picture with its alpha
channel. The uninstaller's internet page is shown by the browser dillo, which gets the page
from a stand-in web server on this machine. With --licence the licence page of every language
shows that file instead of the sample text.
"""
import http.server
import os
import shutil
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from project_build import build_setup  # noqa: E402
from wine_screen import WineScreen, missing_tool  # noqa: E402
import showcase_project as showcase  # noqa: E402

GOODBYE = '''<html><head><title>Example Suite</title></head>
<body bgcolor="#ffffff"><h2>Example Suite was removed</h2>
<p>Thank you for using Example Suite. Tell us what we could make better.</p>
<p lang="ru">&#1057;&#1087;&#1072;&#1089;&#1080;&#1073;&#1086;, &#1095;&#1090;&#1086;
&#1087;&#1086;&#1083;&#1100;&#1079;&#1086;&#1074;&#1072;&#1083;&#1080;&#1089;&#1100; Example Suite.</p>
</body></html>'''


def web_stand_in():
    """A web server on this machine that answers every request with the goodbye page, used
    by the browser as its proxy; returns its port."""
    class Page(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            body = GOODBYE.encode()
            self.send_response(200)
            self.send_header('Content-Type', 'text/html; charset=utf-8')
            self.send_header('Content-Length', str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def log_message(self, *args):
            pass
    server = http.server.HTTPServer(('127.0.0.1', 0), Page)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


def browser(folder):
    """A command that shows an address in dillo, whose settings send it through the stand-in."""
    home = os.path.join(folder, 'browser')
    os.makedirs(os.path.join(home, '.dillo'))
    with open(os.path.join(home, '.dillo', 'dillorc'), 'w') as fh:
        fh.write('http_proxy=http://127.0.0.1:%d/\ngeometry=800x560+100+60\n' % web_stand_in())
    command = os.path.join(folder, 'browse.sh')
    with open(command, 'w') as fh:
        fh.write('#!/bin/sh\nHOME="%s" exec dillo "$1"\n' % home)
    os.chmod(command, 0o755)
    return command


def main():
    licence = next((a.split('=', 1)[1] for a in sys.argv if a.startswith('--licence=')), None)
    argv = [a for a in sys.argv if not a.startswith('--licence=')]
    program, maker, prefix, out = argv[1:5]
    russian = len(argv) > 5 and argv[5] == 'ru'
    look = argv[6] if len(argv) > 6 else ''
    tools = ('Xvfb', 'xdotool', 'import', 'dillo')
    if missing_tool(tools):
        sys.exit('%s is not installed' % missing_tool(tools))
    suffix = '-ru' if russian else ''
    screen = WineScreen(prefix, '1024x768x24')
    shot = lambda window, name: screen.photograph(window, os.path.join(out, 'installer-%s%s.png' % (name, suffix)))
    host = screen.host
    shutil.rmtree(host(showcase.FOLDER), ignore_errors=True)
    # program groups of other programs, for the group page's list
    for group in ('Accessories', 'Example Tools', 'Games'):
        os.makedirs(os.path.join(screen.programs_folder(), group), exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        setup = os.path.join(tmp, 'Setup.exe')
        rows = showcase.rows(os.path.dirname(os.path.abspath(program)), tmp, setup, russian=russian,
                             background=look or 'gradient', header_png=look == 'png', parts=400, licence=licence)
        code, output = build_setup(program, maker, rows, tmp)
        if code != 0:
            sys.exit('the showcase project does not build:\n' + output)
        screen.use_browser(browser(tmp))
        proc = screen.start(setup)
        if russian:
            chooser = screen.wait_window(showcase.LANGUAGE_CHOICE)
            screen.keys('Down')
            shot(chooser, 'language')
            screen.keys('Return')
        wizard = screen.wait_window(showcase.TITLE)
        time.sleep(1)
        shot('root', 'background-picture' if look == 'picture' else 'background')
        steps = [('welcome', ['Return']), ('licence', ['Up']), ('licence-accepted', ['Return']),
                 ('information', ['Return']), ('password', ['type:' + showcase.PASSWORD, 'Return']),
                 ('folder', ['Return']), ('group', ['Return']), ('shortcuts', ['Return']), ('ready', [])]
        for name, keys in steps:
            shot(wizard, name)
            screen.keys(*keys)
        # the progress page while the files are unpacked
        screen.xdotool('key', 'Return')
        time.sleep(2)
        shot(wizard, 'progress')
        time.sleep(15)
        shot(wizard, 'finish')
        # unticks running the application and opening the web site, then finishes
        screen.keys('Tab', 'space', 'Tab', 'Tab', 'space', 'Return')
        proc.wait(timeout=120)
        # the uninstaller: its question, its progress (held by its first command), its
        # closing message and the internet page it opens
        if os.path.exists(host(showcase.UNINSTALL_GO)):
            os.remove(host(showcase.UNINSTALL_GO))
        uninstaller = screen.start(host(showcase.FOLDER + '\\Uninstall.exe'))
        question = screen.wait_window(showcase.UNINSTALL_TITLE)
        shot(question, 'uninstall-question')
        screen.keys('Return')
        progress = screen.wait_window(showcase.UNINSTALL_TITLE, other_than=question)
        shot(progress, 'uninstall-progress')
        open(host(showcase.UNINSTALL_GO), 'w').close()
        shot(screen.wait_window(showcase.UNINSTALL_TITLE, other_than=progress), 'uninstall-done')
        screen.keys('Return')
        uninstaller.wait(timeout=120)
        time.sleep(8)
        shot('root', 'uninstall-internet-page')
        os.remove(host(showcase.UNINSTALL_GO))
    screen.close()


if __name__ == '__main__':
    main()
