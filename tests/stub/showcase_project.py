"""The showcase project: every wizard page and every look switched on (language choice,
background window, welcome, licence, information, password, install folder, program group,
additional shortcuts, ready, progress, finish options; header gradient and picture, logo),
and an uninstaller with its own title and internet page. The Wine wizard test installs and
removes it; the screenshot tool photographs it. Described in rows for stub_project_maker.
"""
import os

PRODUCT = 'Example Suite'
COMPANY = 'Example Company'
TITLE = 'Example Suite Setup'
UNINSTALL_TITLE = 'Example Suite Uninstall'
LANGUAGE_CHOICE = 'Select Setup Language'
FOLDER = 'C:\\Example Suite'
GROUP = 'Example Suite'
PASSWORD = 'abc'
WEB_SITE = 'http://www.example.com/welcome'
UNINSTALL_PAGE = 'http://www.example.com/uninstalled'
REGISTRY_KEY = 'Software\\Example Company\\Example Suite'
# The uninstaller's first command waits (two minutes at most) until this file exists, so
# that its progress window can be looked at; the finish page's "run" choice writes the other.
UNINSTALL_GO = 'C:\\bvq-uninstall-go.txt'
FINISH_RAN = FOLDER + '\\finished.txt'
SHORTCUTS = (('{53}', 'Read me.lnk'), ('{52}', 'Example Suite.lnk'), ('{55}', 'Example Suite.lnk'))

HOLD = ('@echo off\r\nset n=0\r\n:again\r\nif exist "%s" exit /b 0\r\nset /a n+=1\r\n'
        'if %%n%% gtr 120 exit /b 0\r\nping -n 2 127.0.0.1 >nul\r\ngoto again\r\n' % UNINSTALL_GO)
FINISH = '@echo off\r\necho ran> "%~dp0finished.txt"\r\n'


def rich_text(code_page, charset, heading, paragraphs):
    """A rich text document in the given code page: a bold heading, then the paragraphs."""
    def escaped(text):
        return ''.join(c if ord(c) < 128 else "\\'%02x" % c.encode('cp%d' % code_page)[0] for c in text)
    return ('{\\rtf1\\ansi\\ansicpg%d{\\fonttbl{\\f0\\fswiss\\fcharset%d Tahoma;}}\\f0\\fs17 '
            '{\\b\\fs20 %s}\\par\\par %s\\par}' % (code_page, charset, escaped(heading),
                                                 '\\par\\par '.join(escaped(p) for p in paragraphs)))


TEXTS = {
    'licence': (rich_text(1252, 0, 'Example Suite License Agreement', [
        'You may use Example Suite on any number of computers.',
        '{\\i There is no warranty of any kind.}']),
        rich_text(1251, 204, 'Лицензионное соглашение', [
            'Вы можете использовать Example Suite на любом числе компьютеров.',
            '{\\i Никаких гарантий не предоставляется.}'])),
    # The English information text is plain text: the build makes rich text of it.
    'information': ('Read me\r\n\r\nExample Suite needs nothing else.\r\n',
                    rich_text(1251, 204, 'Прочтите', ['Example Suite больше ничего не нужно.'])),
}


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as fh:
        fh.write(data.encode('ascii') if isinstance(data, str) else data)
    return path


def rows(program_dir, folder, setup, russian=True, background='gradient', header_png=False, parts=20,
         licence=None):
    """The project's rows; its source files are written below folder. background: 'gradient'
    or 'picture' (the logo picture stretched); header_png: the header picture is a PNG with an
    alpha channel; parts: how many data files of 16 KiB (enough make the progress visible);
    licence: a rich text file every language shows as its licence instead of the sample."""
    src = os.path.join(folder, 'src')
    program_dir = os.path.abspath(program_dir)
    bitmaps = os.path.join(program_dir, 'Bitmaps')
    header = os.path.join(program_dir, 'Data', 'Folder.png') if header_png else \
        os.path.join(bitmaps, 'Header', 'Header.bmp')
    logo = os.path.join(bitmaps, 'Wizard', 'Wizard.bmp')
    settings = [
        ('LabeledEdit2', PRODUCT), ('LabeledEdit29', '1.0'), ('LabeledEdit4', COMPANY),
        ('LabeledEdit5', setup), ('ComboBox1', '1'),
        ('LabeledEdit6', TITLE), ('LabeledEdit16', 'Copyright (c) 2026, ' + COMPANY),
        ('LabeledEdit12', FOLDER), ('LabeledEdit13', GROUP),
        # pages
        ('CheckBox44', '1'), ('CheckBox4', '1'), ('CheckBox15', '1'), ('CheckBox24', '1'),
        ('LabeledEdit20', PASSWORD), ('CheckBox12', '1'), ('CheckBox45', '1'), ('CheckBox46', '1'),
        ('CheckBox47', '1'), ('CheckBox48', '1'), ('CheckBox49', '1'),
        # finish options: run (ticked), readme (offered, not ticked), web site (ticked)
        ('CheckBox7', '1'), ('Edit2', '%InstallPath%\\finish.bat'), ('CheckBox2', '1'),
        ('CheckBox8', '1'), ('Edit3', '%InstallPath%\\readme.txt'), ('CheckBox3', '0'),
        ('CheckBox17', '1'), ('LabeledEdit7', WEB_SITE), ('CheckBox14', '1'),
        # background window
        ('CheckBox1', '1'), ('RadioButton6', '0' if background == 'picture' else '1'),
        ('LabeledEdit27', logo), ('ComboBox8', '1'),
        ('BackGradientColor1', '16744576'), ('BackGradientColor2', '0'), ('ComboBox7', '0'),
        ('LabeledEdit19', 'Example Suite 2026'), ('LabeledEdit28', COMPANY),
        ('TitleBackFont size', '28'), ('TitleBackFont name', 'Tahoma'), ('TitleBackFont colour', '16777215'),
        ('TitleBackFont style', '3'), ('CompanyBackFont size', '9'), ('CompanyBackFont name', 'Tahoma'),
        # header and logo
        ('CheckBox26', '1'), ('LabeledEdit14', header), ('CheckBox6', '1'), ('CheckBox10', '1'),
        ('HeaderGradientColor1', '16744576'), ('HeaderGradientColor2', '16777215'),
        ('CheckBox40', '1'), ('LabeledEdit15', logo), ('CheckBox13', '0'),
        # uninstaller
        ('CheckBox11', '1'), ('LabeledEdit10', PRODUCT), ('LabeledEdit22', UNINSTALL_TITLE),
        ('CheckBox39', '1'), ('Edit9', UNINSTALL_PAGE),
    ]
    out = [['set', name, value] for name, value in settings]
    languages = ['English', 'Russian'] if russian else ['English']
    out.append(['lines', 'LanguageListView'] + languages)
    for kind, holder in (('licence', 'LicenseFileList'), ('information', 'InfoFileList')):
        english, russian_text = TEXTS[kind]
        files = [write(os.path.join(src, kind + ('.rtf' if english.startswith('{') else '.txt')), english), '']
        if russian:
            files.append(write(os.path.join(src, kind + '-ru.rtf'), russian_text))
        if kind == 'licence' and licence:
            files = [os.path.abspath(licence), ''] + ([os.path.abspath(licence)] if russian else [])
        out.append(['lines', holder] + files)
    payload = {'readme.txt': b'read me\r\n' * 2000, 'finish.bat': FINISH, 'hold.bat': HOLD}
    payload.update(('data\\part%04d.bin' % n, os.urandom(16384)) for n in range(parts))
    for name, data in payload.items():
        path = write(os.path.join(src, name.replace('\\', '_')), data)
        out.append(['3', path, '%InstallPath%\\' + name, '{236}', '{62}'])
    for place, name in SHORTCUTS:
        out.append(['1', place, name, '%InstallPath%\\readme.txt', '', '%InstallPath%', 'Read me', ''])
    out.append(['2', 'HKEY_CURRENT_USER', REGISTRY_KEY, 'InstallPath', 'REG_SZ', '%InstallPath%', '{62}', '{62}'])
    out.append(['6', '{47}', 'C:\\windows\\system32\\cmd.exe', '/c "%InstallPath%\\hold.bat"', 'Hide', '{109}', '{62}'])
    out.append(['7', '{143}', '%InstallPath%\\finished.txt'])
    return out
