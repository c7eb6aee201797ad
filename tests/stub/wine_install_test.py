#!/usr/bin/python3
"""Installs setups assembled by setup_maker under Wine, silently, and checks the result on the
Wine prefix's disk and registry; then uninstalls and checks that everything is gone.

Usage: wine_install_test.py DATA_DIR PREFIX_DIR CASE... [--program BVQ --maker MAKER]
DATA_DIR holds Install.exe and Uninstall.exe; PREFIX_DIR is a Wine prefix of the tests' own
(created when missing). Cases: stored, cabinet, volumes, volumes-cabinet, damaged,
missing-volume, password, keep-existing, rollback (setups assembled here), and built-stored,
built-cabinet, built-volumes (the same project built by the program: BVQ is the program,
MAKER the helper that writes the project file).
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from project_build import build_setup  # noqa: E402
from setup_maker import Setup  # noqa: E402
from wine_screen import check, failures, registry_value_in, wait_until  # noqa: E402
import wine_capability  # noqa: E402

DATA, PREFIX = sys.argv[1], os.path.abspath(sys.argv[2])
ARGS = sys.argv[3:]
PROGRAM = ARGS[ARGS.index('--program') + 1] if '--program' in ARGS else None
MAKER = ARGS[ARGS.index('--maker') + 1] if '--maker' in ARGS else None
# Where 32-bit programs execute only under emulation, this one case stands for all: a setup built
# by the program, installed and removed. Every Wine start there takes minutes, so the case keeps
# one wineserver running for all its calls and allows SLOW times as long.
EMULATION_CASE = 'built-cabinet'
CASE_NAMES = [a for a in ARGS if not a.startswith('--') and a not in (PROGRAM, MAKER)]
wine_capability.skip_unless_wine_runs(runs_under_emulation=CASE_NAMES == [EMULATION_CASE])
PERSISTENT_SERVER = wine_capability.emulated()
SLOW = 4 if PERSISTENT_SERVER else 1
# Wine starts its menu builder on every shortcut saved; it reads the new .lnk files while the
# installer may already be removing them again (a rollback), and writes menu files on the host.
ENV = dict(os.environ, WINEPREFIX=PREFIX, WINEDEBUG='-all',
           WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d', DISPLAY='')
ENV.pop('WAYLAND_DISPLAY', None)
FONT = '/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf'
FONTS_KEY = 'HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts'


def run_wine(*args, timeout=120):
    """Runs `wine ARGS...`; returns its exit code and what it wrote to standard output. The output
    goes through a file, not a pipe: Wine's service processes inherit the program's standard
    handles and, with a persistent wineserver, outlive it, so a pipe would never close."""
    with tempfile.TemporaryFile() as out:
        r = subprocess.run(['wine'] + list(args), env=ENV, stdout=out, stderr=subprocess.DEVNULL,
                           timeout=timeout * SLOW)
        out.seek(0)
        return r.returncode, out.read().decode('utf-8', 'replace')


def wine(*args, timeout=300):
    code, _ = run_wine(*args, timeout=timeout)
    if not PERSISTENT_SERVER:  # the persistent server never ends; see wait_for()
        subprocess.run(['wineserver', '-w'], env=ENV, timeout=timeout)
    return code


def wait_for(condition, timeout=120):
    """With a persistent wineserver, `wineserver -w` cannot tell that a program's helpers
    (the uninstaller's temporary copy) are done: wait for their effect instead."""
    wait_until(condition, timeout * SLOW)


def ensure_prefix():
    if not os.path.exists(os.path.join(PREFIX, 'system.reg')):
        os.makedirs(PREFIX, exist_ok=True)
        subprocess.run(['wineboot', '-i'], env=ENV, capture_output=True, timeout=600 * SLOW)
        subprocess.run(['wineserver', '-w'], env=ENV, timeout=600 * SLOW)
    if PERSISTENT_SERVER:
        subprocess.run(['wineserver', '-p'], env=ENV, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=600 * SLOW)


def host(win_path):
    """Host path of a C: path of the prefix."""
    assert win_path[:3].upper() == 'C:\\'
    return os.path.join(PREFIX, 'drive_c', *win_path[3:].split('\\'))


def reg_query(key, value):
    code, output = run_wine('reg', 'query', key, '/v', value)
    if code != 0:
        return None
    return registry_value_in(output, value)


def reg_key_exists(key):
    return run_wine('reg', 'query', key)[0] == 0


def ini_text(path):
    with open(path, 'rb') as fh:
        return fh.read().decode('latin-1')


def full_project(name, folder, font=True):
    """A setup with every kind of entry the installer handles (the font makes it large)."""
    s = Setup(os.path.join(DATA, 'Install.exe'), os.path.join(DATA, 'Uninstall.exe'))
    s.fields[28] = name
    s.fields[55] = name
    s.fields[106] = name + ' Group'
    s.fields[58] = folder
    key = 'Software\\BvqStubTest\\' + name
    files = {
        '@$&%04\\readme.txt': b'read me\r\n',
        '@$&%04\\bin\\tool.dat': bytes(range(256)) * 300,
        '@$&%04\\bin\\deep\\er\\empty.txt': b'',
        '@$&%04\\@$&%81\\var.txt': b'placed by a user variable',
        '@$&%04\\big.bin': os.urandom(300000),
    }
    if font:
        files['@$&%04\\fonts\\TestSans.ttf'] = open(FONT, 'rb').read()
    for dest, data in files.items():
        s.add_file(data, dest)
    s.sections['B'] = [['1', key + '\\Vars', 'Where', 'fromdefault']]
    s.sections['H'] = [['@$&%04\\emptyfolder', '1'], ['@$&%04\\logs\\old', '1']]
    s.sections['C'] = [
        ['1', key, 'Str', 'text @$&%04', '0', '1', '1'],
        ['1', key, 'Bin', '0A1B2C', '1', '1', '1'],
        ['1', key, 'Num', '4660', '2', '1', '1'],
        ['1', key + '\\Sub', 'Exp', '%SystemRoot%\\x', '3', '1', '1'],
        ['1', key + '\\Sub', '', 'default value', '0', '1', '1'],
    ]
    s.sections['K'] = [
        ['@$&%04\\settings.ini', 'Main', 'Path', '@$&%04', '1', '1'],
        ['@$&%04\\settings.ini', 'Main', 'Product', name, '1', '1'],
    ]
    s.sections['F'] = [
        ['2', 'Readme.lnk', '@$&%04\\readme.txt', '', 'Read me', '', '', '@$&%04'],
        ['4', '@$&%04\\links\\Tool.lnk', '@$&%04\\bin\\tool.dat', '-x', 'Tool', '@$&%04\\Uninstall.exe', '0', ''],
    ]
    cmd = 'C:\\windows\\system32\\cmd.exe'
    s.sections['I'] = [
        ['0', cmd, '/c echo after> "@$&%04\\after.txt"', '0', '1', '1'],
        ['0', cmd, '/c echo before> "C:\\bvq-before-' + name + '.txt"', '0', '0', '1'],
    ]
    s.sections['J'] = [['0', cmd, '/c echo removed> "C:\\bvq-uninstalled-' + name + '.txt"', '0', '0', '1']]
    s.sections['L'] = [['0', '@$&%04\\after.txt'], ['2', '@$&%04\\logs']]
    s.sections['D'] = [['1', key + '\\Extra', '']]
    s.sections['E'] = [[name + ' Sans', '@$&%04\\fonts\\TestSans.ttf']] if font else []
    s.side_files = [('$inst\\15.tmp', b'{\\rtf1\\ansi licence}'), ('$inst\\20.tmp', b'{\\rtf1\\ansi Lizenz}')]
    return s, files, key


def check_installed(s, files, key, folder, name):
    for dest, data in files.items():
        win = dest.replace('@$&%04', folder).replace('@$&%81', 'fromdefault')
        p = host(win)
        check(os.path.isfile(p), f'{name}: {win} installed')
        if os.path.isfile(p):
            check(open(p, 'rb').read() == data, f'{name}: {win} has the source bytes')
    check(os.path.isdir(host(folder + '\\emptyfolder')), f'{name}: empty folder created')
    check(os.path.isfile(host(folder + '\\Uninstall.exe')), f'{name}: uninstaller installed')
    hk = 'HKCU\\' + key
    check(reg_query(hk, 'Str') == ('REG_SZ', 'text ' + folder), f'{name}: REG_SZ value {reg_query(hk, "Str")}')
    check(reg_query(hk, 'Bin') == ('REG_BINARY', '0A1B2C'), f'{name}: REG_BINARY value {reg_query(hk, "Bin")}')
    num = reg_query(hk, 'Num')
    check(num is not None and num[0] == 'REG_DWORD' and int(num[1], 0) == 4660, f'{name}: REG_DWORD value {num}')
    check(reg_query(hk + '\\Sub', 'Exp') == ('REG_EXPAND_SZ', '%SystemRoot%\\x'), f'{name}: REG_EXPAND_SZ value')
    ini = host(folder + '\\settings.ini')
    check(os.path.isfile(ini) and 'Path=' + folder in ini_text(ini) and 'Product=' + name in ini_text(ini),
          f'{name}: INI entries written')
    check(os.path.isfile(host(folder + '\\links\\Tool.lnk')), f'{name}: shortcut at a path')
    group_links = [os.path.join(d, f) for d, _, fs in os.walk(os.path.join(PREFIX, 'drive_c', 'users'))
                   for f in fs if f == 'Readme.lnk' and os.path.basename(d) == name + ' Group']
    check(len(group_links) == 1, f'{name}: shortcut in the program group')
    check(os.path.isfile(host(folder + '\\after.txt')), f'{name}: command after unpacking ran')
    if s.sections['E']:
        font = reg_query(FONTS_KEY, name + ' Sans (TrueType)')
        check(font == ('REG_SZ', folder + '\\fonts\\TestSans.ttf'), f'{name}: font registered {font}')
    check(os.path.isfile(host('C:\\bvq-before-' + name + '.txt')), f'{name}: command before unpacking ran')
    return group_links


def check_removed(files, key, folder, name, group_links):
    check(not os.path.exists(host(folder)), f'{name}: install folder removed '
          f'({os.listdir(host(folder)) if os.path.exists(host(folder)) else ""})')
    check(not reg_key_exists('HKCU\\' + key), f'{name}: registry key removed')
    for link in group_links:
        check(not os.path.exists(link), f'{name}: group shortcut removed')
        check(not os.path.exists(os.path.dirname(link)), f'{name}: program group folder removed')
    check(os.path.isfile(host('C:\\bvq-uninstalled-' + name + '.txt')), f'{name}: uninstall command ran')
    check(reg_query(FONTS_KEY, name + ' Sans (TrueType)') is None, f'{name}: font registration removed')
    check(not reg_key_exists('HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\' + name) and
          not reg_key_exists('HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\' + name),
          f'{name}: installed-programs entry removed')


def assembled(s, files, tmp, cabinets, volume_size):
    s.cabinets = cabinets
    s.volume_size = volume_size
    return s.write(os.path.join(tmp, 'Setup.exe'))


def as_project_text(text):
    return text.replace('@$&%04', '%InstallPath%').replace('@$&%81', '%Where%')


def built(s, files, tmp, cabinets, volume_size):
    """The same project through the project file and `belvandorithquessal /build`."""
    rows = []
    def setting(name, value):
        rows.append(['set', name, value])
    setting('LabeledEdit2', s.fields[28])
    setting('LabeledEdit10', s.fields[55])
    setting('LabeledEdit13', s.fields[106])
    setting('LabeledEdit12', s.fields[58])
    setting('LabeledEdit5', os.path.join(tmp, 'Setup.exe'))
    setting('ComboBox1', '1' if cabinets else '0')
    if volume_size:
        setting('ComboBox4', '4')
        assert volume_size % 1024 == 0  # the size field holds at most 32767 units
        setting('UpDown1', str(volume_size // 1024))
        setting('ComboBox11', '1')
    setting('CheckBox43', '1')
    setting('CheckBox11', '1')
    os.makedirs(os.path.join(tmp, 'src'))
    for i, (dest, data) in enumerate(files.items()):
        src = os.path.join(tmp, 'src', f'f{i}')
        with open(src, 'wb') as fh:
            fh.write(data)
        rows.append(['3', src, as_project_text(dest), '{236}', '{62}'])
    for path, _ in s.sections['H']:
        rows.append(['3', '{26}', as_project_text(path), '{236}', '{62}'])
    for root, subkey, name, default in s.sections['B']:
        rows.append(['10', '%Where%', 'HKEY_CURRENT_USER', subkey, name, default])
    types = ['REG_SZ', 'REG_BINARY', 'REG_DWORD', 'REG_EXPAND_SZ']
    for root, subkey, name, data, typ, overwrite, uninstall in s.sections['C']:
        if typ == '1':
            data = ' '.join(data[i:i + 2] for i in range(0, len(data), 2))  # blanks are removed by the build
        rows.append(['2', 'HKEY_CURRENT_USER', subkey, name, types[int(typ)], as_project_text(data), '{62}', '{62}'])
    for file, section, key, value, overwrite, uninstall in s.sections['K']:
        rows.append(['5', as_project_text(file), section, key, as_project_text(value), '{62}', '{62}'])
    places = {'2': '{53}', '4': '{56}'}
    for place, name, target, params, comment, icon, index, work in s.sections['F']:
        cell = as_project_text(icon) + ',' + index if icon else ''
        rows.append(['1', places[place], as_project_text(name), as_project_text(target), params,
                     as_project_text(work), comment, cell])
    for typ, cmd, params, show, when, wait in s.sections['I']:
        rows.append(['4', '{47}', cmd, as_project_text(params), 'Hide', '{94}' if when == '1' else '{93}', '{62}'])
    for typ, cmd, params, show, when, wait in s.sections['J']:
        rows.append(['6', '{47}', cmd, as_project_text(params), 'Hide', '{109}', '{62}'])
    for kind, path in s.sections['L']:
        rows.append(['7', '{%d}' % (143 + int(kind)), as_project_text(path)])
    for root, subkey, name in s.sections['D']:
        rows.append(['9', 'HKEY_CURRENT_USER', subkey, name])
    for font, file in s.sections['E']:
        rows.append(['11', font, as_project_text(file)])
    code, output = build_setup(PROGRAM, MAKER, rows, tmp)
    check(code == 0, f'build exit status {code}:\n{output}')
    folder = os.path.dirname(os.path.join(tmp, 'Setup.exe'))
    pattern = 'disk'
    return [os.path.join(tmp, 'Setup.exe')] + sorted(
        (os.path.join(folder, f) for f in os.listdir(folder) if f.startswith(pattern) and f.endswith('.pak')),
        key=lambda p: int(os.path.basename(p)[4:-4]))


def install_and_remove(name, cabinets=False, volume_size=None, make=assembled):
    folder = 'C:\\bvqtest\\' + name
    s, files, key = full_project(name, folder, font=volume_size is None)
    with tempfile.TemporaryDirectory() as tmp:
        paths = make(s, files, tmp, cabinets, volume_size)
        if not os.path.exists(paths[0]):
            return
        if volume_size:
            # the first volume holds the stub, so how many depends on its size: a middle one at least
            check(len(paths) >= 3, f'{name}: three volumes or more, got {len(paths)}')
        code = wine(paths[0], '/S', '/LOG=' + os.path.join(tmp, 'install.log').replace('/', '\\'))
        log = open(os.path.join(tmp, 'install.log'), encoding='utf-8', errors='replace').read() \
            if os.path.exists(os.path.join(tmp, 'install.log')) else ''
        check(code == 0, f'{name}: install exit code {code}\n{log}')
        if make is assembled:
            check('Side files unpacked: 2' in log, f'{name}: the data block\'s side files are unpacked')
    links = check_installed(s, files, key, folder, name)
    code = wine(host(folder + '\\Uninstall.exe'), '/S')
    check(code == 0, f'{name}: uninstall exit code {code}')
    if PERSISTENT_SERVER:
        wait_for(lambda: not os.path.exists(host(folder)))
    check_removed(files, key, folder, name, links)


def case_damaged():
    folder = 'C:\\bvqtest\\damaged'
    s, files, key = full_project('damaged', folder)
    with tempfile.TemporaryDirectory() as tmp:
        path = s.write(os.path.join(tmp, 'Setup.exe'))[0]
        data = open(path, 'rb').read()
        cut = os.path.join(tmp, 'Cut.exe')
        with open(cut, 'wb') as fh:
            fh.write(data[:len(data) // 2])
        logp = os.path.join(tmp, 'cut.log')
        code = wine(cut, '/S', '/LOG=' + logp.replace('/', '\\'))
        check(code == 2, f'damaged: exit code {code}')
        log = open(logp, encoding='utf-8').read() if os.path.exists(logp) else ''
        check('damaged' in log, f'damaged: the log names the damage: {log!r}')
        check(not os.path.exists(host(folder)), 'damaged: nothing installed')


def case_missing_volume():
    folder = 'C:\\bvqtest\\missingvol'
    s, files, key = full_project('missingvol', folder)
    s.volume_size = 160000
    with tempfile.TemporaryDirectory() as tmp:
        paths = s.write(os.path.join(tmp, 'Setup.exe'))
        os.remove(paths[-1])
        logp = os.path.join(tmp, 'mv.log')
        code = wine(paths[0], '/S', '/LOG=' + logp.replace('/', '\\'))
        log = open(logp, encoding='utf-8').read() if os.path.exists(logp) else ''
        check(code == 5, f'missing volume: exit code {code}\n{log}')
        check(f'Disk {len(paths)} of the installation' in log and 'is missing' in log,
              f'missing volume: the log names the disk: {log!r}')
        check(not os.path.exists(host(folder)), 'missing volume: the partial installation is rolled back')
        check(not reg_key_exists('HKCU\\' + key), 'missing volume: no registry values left')


def case_rollback_restores():
    """A failure late in the payload undoes the installation and gives replaced files back."""
    folder = 'C:\\bvqtest\\rollback'
    os.makedirs(host(folder), exist_ok=True)
    with open(host(folder + '\\readme.txt'), 'wb') as fh:
        fh.write(b'the user\'s own readme')
    s, files, key = full_project('rollback', folder)
    s.volume_size = 160000
    with tempfile.TemporaryDirectory() as tmp:
        paths = s.write(os.path.join(tmp, 'Setup.exe'))
        # The last volume is cut short: the rest of the last file is looked for on a next disk.
        with open(paths[-1], 'r+b') as fh:
            fh.truncate(os.path.getsize(paths[-1]) - 10)
        code = wine(paths[0], '/S')
    check(code == 5, f'rollback: exit code {code}')
    check(open(host(folder + '\\readme.txt'), 'rb').read() == b'the user\'s own readme',
          'rollback: the replaced file is given back')
    check(sorted(os.listdir(host(folder))) == ['readme.txt'], f'rollback: nothing else left {os.listdir(host(folder))}')
    check(not reg_key_exists('HKCU\\' + key), 'rollback: no registry values left')
    shutil.rmtree(host(folder))


def case_rollback_registry():
    """A failure after the registry is written (the uninstall log cannot be put in place)
    puts overwritten values back and removes what the uninstaller would have kept."""
    folder = 'C:\\bvqtest\\rollreg'
    log_dir = 'C:\\bvqtest\\rollreglog'
    shutil.rmtree(host(folder), ignore_errors=True)
    s, files, key = full_project('rollreg', folder, font=False)
    hk = 'HKCU\\' + key
    subprocess.run(['wine', 'reg', 'add', hk, '/v', 'Str', '/t', 'REG_SZ', '/d', 'the user value', '/f'],
                   env=ENV, capture_output=True, timeout=120)
    subprocess.run(['wine', 'reg', 'add', hk, '/v', 'Num', '/t', 'REG_BINARY', '/d', '00ff10', '/f'],
                   env=ENV, capture_output=True, timeout=120)
    s.sections['C'] += [['1', key, 'Keep', 'kept by the uninstaller', '0', '1', '0'],
                        ['1', key + '\\New', 'K', 'x', '0', '1', '0']]
    s.add_file(b'kept by the uninstaller', '@$&%04\\keep.txt', uninstall='0')
    user_ini = 'C:\\bvqtest\\rollregini\\user.ini'
    os.makedirs(os.path.dirname(host(user_ini)), exist_ok=True)
    with open(host(user_ini), 'wb') as fh:
        fh.write(b'[Main]\r\nPath=the user path\r\nOther=1\r\n')
    s.sections['K'] += [[user_ini, 'Main', 'Path', 'overwritten', '1', '0'],
                        [user_ini, 'Main', 'Added', 'new', '1', '1']]
    # The uninstall log's place is taken by a folder, so writing the log fails at the very end.
    s.fields[92] = log_dir + '\\Uninstall.ini'
    os.makedirs(host(log_dir + '\\Uninstall.ini'), exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        code = wine(s.write(os.path.join(tmp, 'Setup.exe'))[0], '/S')
    check(code == 4, f'rollback-registry: exit code {code}')
    check(reg_query(hk, 'Str') == ('REG_SZ', 'the user value'), f'rollback-registry: REG_SZ given back {reg_query(hk, "Str")}')
    check(reg_query(hk, 'Num') == ('REG_BINARY', '00FF10'), f'rollback-registry: type and data given back {reg_query(hk, "Num")}')
    for value in ('Keep', 'Bin'):
        check(reg_query(hk, value) is None, f'rollback-registry: {value} removed')
    check(not reg_key_exists(hk + '\\New') and not reg_key_exists(hk + '\\Sub'), 'rollback-registry: new keys removed')
    ini = ini_text(host(user_ini)) if os.path.isfile(host(user_ini)) else ''
    check('Path=the user path' in ini and 'Other=1' in ini and 'Added' not in ini,
          f'rollback-registry: the INI file is as it was: {ini!r}')
    shutil.rmtree(os.path.dirname(host(user_ini)), ignore_errors=True)
    # Only what the command after unpacking wrote is left: a command's effects are its own.
    left = sorted(os.listdir(host(folder))) if os.path.isdir(host(folder)) else []
    check(left == ['after.txt'], f'rollback-registry: installed files removed, the kept one too: {left}')
    shutil.rmtree(host(folder), ignore_errors=True)
    subprocess.run(['wine', 'reg', 'delete', 'HKCU\\Software\\BvqStubTest\\rollreg', '/f'], env=ENV,
                   capture_output=True, timeout=120)
    shutil.rmtree(host(log_dir), ignore_errors=True)


def case_password():
    folder = 'C:\\bvqtest\\password'
    shutil.rmtree(host(folder), ignore_errors=True)
    s = Setup(os.path.join(DATA, 'Install.exe'))
    s.fields[58] = folder
    s.fields[29] = scrambled = __import__('setup_maker').scrambled_password(b'abc').decode()
    check(scrambled == '2X<', 'password: transformation of abc')
    s.add_file(b'secret', '@$&%04\\secret.txt')
    with tempfile.TemporaryDirectory() as tmp:
        path = s.write(os.path.join(tmp, 'Setup.exe'))[0]
        for given, expect in ((None, 3), ('/P=abd', 3), ('/P=abc', 0)):
            args = [path, '/S'] + ([given] if given else [])
            code = wine(*args)
            check(code == expect, f'password {given}: exit code {code}, expected {expect}')
            check(os.path.isfile(host(folder + '\\secret.txt')) == (expect == 0),
                  f'password {given}: installed only with the right password')
    shutil.rmtree(host(folder), ignore_errors=True)


def case_keep_existing():
    """If-exists modes: skip keeps the existing file, replace replaces it; a failure keeps both."""
    folder = 'C:\\bvqtest\\modes'
    os.makedirs(host(folder), exist_ok=True)
    for n in ('skip.txt', 'replace.txt', 'newer.txt'):
        with open(host(folder + '\\' + n), 'wb') as fh:
            fh.write(b'old ' + n.encode())
    s = Setup(os.path.join(DATA, 'Install.exe'))
    s.fields[58] = folder
    s.add_file(b'new skip', '@$&%04\\skip.txt', mode='4')
    s.add_file(b'new replace', '@$&%04\\replace.txt', mode='2')
    s.add_file(b'new newer', '@$&%04\\newer.txt', mode='3')  # payload time is from 2019: older
    with tempfile.TemporaryDirectory() as tmp:
        code = wine(s.write(os.path.join(tmp, 'Setup.exe'))[0], '/S')
    check(code == 0, f'modes: exit code {code}')
    check(open(host(folder + '\\skip.txt'), 'rb').read() == b'old skip.txt', 'modes: skip keeps the file')
    check(open(host(folder + '\\replace.txt'), 'rb').read() == b'new replace', 'modes: replace replaces')
    check(open(host(folder + '\\newer.txt'), 'rb').read() == b'old newer.txt', 'modes: replace-if-newer keeps a newer file')
    shutil.rmtree(host(folder))


CASES = {
    'stored': lambda: install_and_remove('stored'),
    'cabinet': lambda: install_and_remove('cabinet', cabinets=True),
    'volumes': lambda: install_and_remove('volumes', volume_size=250000),
    'volumes-cabinet': lambda: install_and_remove('volcab', cabinets=True, volume_size=200000),
    'damaged': case_damaged,
    'missing-volume': case_missing_volume,
    'password': case_password,
    'rollback': case_rollback_restores,
    'rollback-registry': case_rollback_registry,
    'keep-existing': case_keep_existing,
    'built-stored': lambda: install_and_remove('builtstored', make=built),
    'built-cabinet': lambda: install_and_remove('builtcab', cabinets=True, make=built),
    'built-volumes': lambda: install_and_remove('builtvol', cabinets=True, volume_size=200 * 1024, make=built),
}

ensure_prefix()
try:
    for case in CASE_NAMES:
        CASES[case]()
finally:
    if PERSISTENT_SERVER:
        subprocess.run(['wineserver', '-k'], env=ENV, timeout=120 * SLOW)
if failures:
    print(f'{len(failures)} check(s) failed')
    sys.exit(1)
print('ok')
