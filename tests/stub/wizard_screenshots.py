#!/usr/bin/python3
"""Photographs every window of the installer and the uninstaller under Wine, in English or in
Russian, for the documentation: a setup with every page and look switched on, gone through
with the keyboard.

Usage: wizard_screenshots.py [--licence=RTF_FILE] PROGRAM_DIR PREFIX_DIR OUT_DIR [en|ru] [picture|png]
PROGRAM_DIR is the program folder (Data/Install.exe, Data/Uninstall.exe, Bitmaps/,
Language/Install/); the pictures are written as OUT_DIR/installer-<window>[-ru].png. With
"picture" the background is the logo picture stretched instead of a gradient; with "png" the
header picture is the folder page's PNG picture with its alpha channel. With --licence the licence
page of every language shows that file instead of the sample text.
"""
import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from setup_maker import Setup, scrambled_password  # noqa: E402
from wine_screen import WineScreen, missing_tool  # noqa: E402

TITLE = 'Example Suite Setup'
PRODUCT = 'Example Suite'


def language_file(path):
    """(own name, identifier, {number: text bytes}) of an install language file."""
    name, ident, texts, section = b'', '', {}, b''
    for line in open(path, 'rb').read().splitlines():
        line = line.strip()
        if line.startswith(b'['):
            section = line
        elif b'=' in line and not line.startswith(b';'):
            key, value = line.split(b'=', 1)
            if section == b'[Language]' and key == b'Name':
                name = value
            elif section == b'[Language]' and key == b'Id':
                ident = value.decode()
            elif section == b'[Strings]' and key.isdigit():
                texts[int(key)] = expand(value)
    return name, ident, texts


def expand(text):
    """What the build does to the texts: product name, size, blanks and line breaks."""
    for a, b in ((b'#setupsize#', b'1.50 Mb'), (b'#netversion#', b''), (b'#appname#', PRODUCT.encode()),
                 (b'#32', b' '), (b'#10', b'\n'), (b'#13', b'\r')):
        text = text.replace(a, b)
    return text


def rich_text(code_page, charset, text):
    """A rich text document as a rich-edit control saves it: code page and font character set."""
    return (b'{\\rtf1\\ansi\\ansicpg%d{\\fonttbl{\\f0\\fswiss\\fcharset%d Tahoma;}}\\f0\\fs17 ' % (code_page, charset) +
            b'{\\b ' + text[0] + b'}\\par\\par ' + b'\\par '.join(text[1:]) + b'\\par}')


def make_setup(program, path, russian, background, header_png, licence=None):
    s = Setup(os.path.join(program, 'Data', 'Install.exe'), os.path.join(program, 'Data', 'Uninstall.exe'))
    f = s.fields
    f[28] = f[53] = f[55] = PRODUCT
    f[42] = 'Example Company'
    f[65] = TITLE
    f[75] = 'Example Suite Uninstall'
    f[27] = 'Copyright (c) 2026, Example Company '
    f[58] = 'C:\\Example Suite'
    f[106] = 'Example Suite'
    f[110] = '0'
    f[48] = '1536'
    for page in (111, 30, 84, 112, 113, 114, 115, 116):
        f[page] = '1'
    f[88] = f[89] = f[90] = '1'   # desktop, program group and quick-launch shortcuts
    f[29] = scrambled_password(b'abc')  # shown while typing
    f[59] = '0'
    f[39], f[43], f[44] = '1', '@$&%04\\readme.txt', '1'
    f[79], f[47], f[46] = '1', '@$&%04\\readme.txt', '0'
    f[36], f[37], f[38] = '1', 'http://example.com/', '0'
    # looks: background, header gradient and picture, logo
    f[1] = '1'
    f[3] = '0' if background == 'picture' else '1'
    f[4], f[5], f[6], f[7] = '16744576', '0', '0', '1'
    f[8], f[9] = 'Example Suite 2026', 'Example Company'
    f[10], f[11], f[12], f[13], f[14] = '-37', 'Tahoma', '16777215', '1', '3'
    f[15], f[16], f[17], f[18], f[19] = '0', '16777215', '1', '-11', 'Tahoma'
    f[49], f[66], f[60], f[70], f[71] = '1', '1', '16744576', '16777215', '1'
    f[81], f[80], f[69], f[72], f[73], f[78] = '20', '5', '171', '8', '178', '26'
    f[63], f[83], f[82], f[77] = '1', '0', '0', '0'
    header = os.path.join(program, 'Data', 'Folder.png') if header_png else \
        os.path.join(program, 'Bitmaps', 'Header', 'Header.bmp')
    logo = os.path.join(program, 'Bitmaps', 'Wizard', 'Wizard.bmp')
    s.side_files = [('$inst\\4.tmp', open(header, 'rb').read()), ('$inst\\5.tmp', open(logo, 'rb').read())]
    if background == 'picture':
        s.side_files.append(('$inst\\6.tmp', open(logo, 'rb').read()))
    # the folder, shortcuts and password pages' own pictures, as a build adds them
    for number, picture in ((7, 'Folder.png'), (8, 'Group.png'), (9, 'Password.png')):
        s.side_files.append(('$inst\\%d.tmp' % number, open(os.path.join(program, 'Data', picture), 'rb').read()))
    english = [b'Example Suite License Agreement', b'You may use Example Suite on any number of computers.',
               b'There is no warranty of any kind.']
    s.side_files += [('$inst\\15.tmp', rich_text(1252, 0, english)),
                     ('$inst\\16.tmp', rich_text(1252, 0, [b'Read me', b'Example Suite needs nothing else.']))]
    if russian:
        name, ident, texts = language_file(os.path.join(program, 'Language', 'Install', 'Russian.lng'))
        s.languages.append((b'Russian (' + name + b')', ident, '20', '50', texts))
        ru = 'Лицензионное соглашение|Вы можете использовать Example Suite на любом числе компьютеров.|' \
             'Никаких гарантий не предоставляется.'.split('|')
        s.side_files += [('$inst\\20.tmp', rich_text(1251, 204, [t.encode('cp1251') for t in ru])),
                         ('$inst\\50.tmp', rich_text(1251, 204, [t.encode('cp1251') for t in
                                                            ('Прочтите', 'Example Suite больше ничего не нужно.')]))]
    if licence:
        s.side_files = [(name, open(licence, 'rb').read() if name in ('$inst\\15.tmp', '$inst\\20.tmp') else data)
                        for name, data in s.side_files]
    s.add_file(b'read me\r\n' * 20000, '@$&%04\\readme.txt')
    for n in range(400):  # enough files for the progress pages to be seen
        s.add_file(os.urandom(16384), '@$&%%04\\data\\part%04d.bin' % n)
    s.write(path)


def main():
    licence = next((a.split('=', 1)[1] for a in sys.argv if a.startswith('--licence=')), None)
    argv = [a for a in sys.argv if not a.startswith('--licence=')]
    program, prefix, out = argv[1:4]
    russian = len(argv) > 4 and argv[4] == 'ru'
    look = argv[5] if len(argv) > 5 else ''
    if missing_tool(('Xvfb', 'xdotool', 'import')):
        sys.exit('%s is not installed' % missing_tool(('Xvfb', 'xdotool', 'import')))
    suffix = '-ru' if russian else ''
    screen = WineScreen(prefix, '1024x768x24')
    shot = lambda window, name: screen.photograph(window, os.path.join(out, 'installer-%s%s.png' % (name, suffix)))
    with tempfile.TemporaryDirectory() as tmp:
        setup = os.path.join(tmp, 'Setup.exe')
        make_setup(program, setup, russian, look, look == 'png', licence)
        proc = screen.start(setup)
        if russian:
            chooser = screen.wait_window('Select Setup Language')
            shot(chooser, 'language')
            screen.keys('Down')
            shot(chooser, 'language-chosen')
            screen.keys('Return')
        wizard = screen.wait_window(TITLE)
        if look:
            time.sleep(1)
            shot('root', 'background' + ('-' + look))
        else:
            shot('root', 'background')
        steps = [('welcome', ['Return']), ('licence', ['Up']), ('licence-accepted', ['Return']),
                 ('information', ['Return']), ('password', ['type:abc', 'Return']), ('folder', ['Return']),
                 ('group', ['Return']), ('shortcuts', ['Return']), ('ready', [])]
        for name, keys in steps:
            shot(wizard, name)
            screen.keys(*keys)
        # the progress page while the files are unpacked
        screen.xdotool('key', 'Return')
        time.sleep(2)
        shot(wizard, 'progress')
        time.sleep(15)
        shot(wizard, 'finish')
        screen.keys('Tab', 'space', 'Return')  # unticks running the application, then finishes
        proc.wait(timeout=120)
        # the uninstaller: its question and its closing message (its progress goes by too fast)
        uninstaller = screen.start(screen.host('C:\\Example Suite\\Uninstall.exe'))
        shot(screen.wait_window('Example Suite Uninstall'), 'uninstall-question')
        screen.keys('Return')
        time.sleep(5)
        shot(screen.wait_window('Example Suite Uninstall'), 'uninstall-done')
        screen.keys('Return')
        uninstaller.wait(timeout=120)
    screen.close()


if __name__ == '__main__':
    main()
