#!/usr/bin/python3
"""Command-line builds of the example project, checked with tools of their own: the setup's
trailer and script read here, the payload and data cabinets by cabextract, the version
resource by pefile, and (when Wine is there) a silent installation of the setup.

Usage: command_line_test.py PROGRAM EXAMPLES_DIR CASE
Cases: example, missing-source, escape-in-message, unreadable-project, unwritable-output, cancel, hangup, closed-output,
setup-over-source, parallel, wine-install.
Each case works in a temporary copy of the examples with its own settings and work folder.
"""
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile

import pefile

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import wine_capability  # noqa: E402
from example_sandbox import run_case  # noqa: E402

PROGRAM, EXAMPLES, CASE = os.path.abspath(sys.argv[1]), sys.argv[2], sys.argv[3]
failures = []


def check(cond, message):
    if not cond:
        failures.append(message)
        print('FAIL:', message)


def read_setup(path, more=()):
    data = open(path, 'rb').read()
    s0, dsize, s1, s2 = struct.unpack_from('<4Q', data, len(data) - 36)
    storage, sides, mark1, mark2 = data[-4], data[-3], data[-2], data[-1]
    assert (mark1, mark2) == (120, 241), 'trailer marks'
    assert s0 < s1 <= s2 <= len(data) - 36 and dsize == s2 - s1, 'trailer offsets'
    values = data[s0:s1].split(b'\0')[:-1]
    payload = data[s2:len(data) - 36] + b''.join(open(v, 'rb').read() for v in more)
    return dict(storage=storage, sides=sides, script=values, data=data[s1:s2], payload=payload)


def rebuild_cabinets(setup, folder):
    full, last, last_size = (int(setup['script'][i]) for i in (95, 117, 118))
    paths, at = [], 0
    for i in range(last + 1):
        size = last_size if i == last else full
        path = os.path.join(folder, '%04d.tmp' % i)
        open(path, 'wb').write(b'MSCF' + setup['payload'][at:at + size])
        paths.append(path)
        at += size
    assert at == len(setup['payload']), 'payload size'
    return paths


def case_example(box):
    r = box.build()
    check(r.returncode == 0, 'exit status %d' % r.returncode)
    lines = r.stdout.splitlines()
    check(all(len(l) > 10 and l[2] == ':' and l[8:10] == '  ' for l in lines), 'log line format')
    check(not [l for l in lines if '  error  ' in l or '  warn  ' in l], 'no warnings or errors')
    setup = read_setup(box.setup)
    check(setup['storage'] == 1, 'cabinet form')
    script = setup['script']
    check(script[28] == b'Example Notes' and script[42] == b'Example Software', 'product and company')
    check(script[67] == b'5', 'four files and the uninstaller: %r' % script[67])
    check(script[93] == b'1', 'one folder-only entry')
    with tempfile.TemporaryDirectory() as d:
        cabs = rebuild_cabinets(setup, d)
        t = subprocess.run(['cabextract', '-t', cabs[0]], capture_output=True, text=True)
        check(t.returncode == 0 and 'All done, no errors' in t.stdout, 'cabextract -t: ' + t.stdout + t.stderr)
        subprocess.run(['cabextract', '-q', '-d', os.path.join(d, 'x'), cabs[0]], check=True)
        src = os.path.join(box.examples, 'Example')
        for i, name in enumerate(['bin/notes.cmd', 'bin/notes.ini', 'doc/readme.txt', 'doc/changes.txt']):
            check(open(os.path.join(d, 'x', str(i)), 'rb').read() == open(os.path.join(src, name), 'rb').read(),
                  'payload file %d' % i)
        check(open(os.path.join(d, 'x', '4'), 'rb').read(2) == b'MZ', 'uninstaller last')
        open(os.path.join(d, 'data.cab'), 'wb').write(b'MSCF' + setup['data'])
        t = subprocess.run(['cabextract', '-t', os.path.join(d, 'data.cab')], capture_output=True, text=True)
        check(t.returncode == 0, 'data cabinet: ' + t.stdout + t.stderr)
        check(t.stdout.count('.tmp') == setup['sides'], 'side-file count %d: %s' % (setup['sides'], t.stdout))
    pe = pefile.PE(box.setup)
    strings = {}
    for info in pe.FileInfo[0]:
        if getattr(info, 'Key', b'') == b'StringFileInfo':
            for table in info.StringTable:
                strings.update({k.decode(): v.decode().rstrip() for k, v in table.entries.items()})
    check(strings.get('FileDescription') == 'Example Notes 1.2 Installation', 'description %r' % strings)
    check(strings.get('CompanyName') == 'Example Software', 'company')
    check(pe.VS_FIXEDFILEINFO[0].FileVersionMS == 0x00010002, 'file version')
    check(box.work_files() == [], 'work files left: %r' % box.work_files())
    last = lines[-1].split('  ', 2)[2]
    check(last == '%s: %d bytes in 1 volume' % (box.setup, os.path.getsize(box.setup)), 'last line: ' + last)


def case_missing_source(box):
    box.edit_project({'Example\\doc\\changes.txt': 'Example\\doc\\gone.txt'})
    r = box.build()
    check(r.returncode == 1, 'exit status %d' % r.returncode)
    check('  error  ' in r.stdout and 'gone.txt' in r.stdout, 'error line names the file')
    check(not os.path.exists(box.setup), 'no setup')


def case_escape_in_message(box):
    # Project bytes in a log line cannot steer the terminal: control characters show as "?".
    box.edit_project({'Example\\doc\\changes.txt': 'Example\\doc\\gone\x1b[2J\x07.txt'})
    r = box.build()
    check(r.returncode == 1, 'exit status %d' % r.returncode)
    check('\x1b' not in r.stdout and '\x07' not in r.stdout, 'no control characters')
    check('gone?[2J?.txt' in r.stdout, 'the path shown with "?"')


def case_unreadable_project(box):
    open(box.project, 'wb').write(b'not a project file at all')
    r = box.build()
    check(r.returncode == 2, 'exit status %d' % r.returncode)
    check(not os.path.exists(box.setup), 'no setup')


def case_unwritable_output(box):
    open(os.path.join(box.root, 'blocked'), 'w').write('a file, not a folder')
    box.edit_project({'..\\out\\ExampleNotesSetup.exe': '..\\blocked\\Setup.exe'})
    r = box.build()
    check(r.returncode == 1, 'exit status %d' % r.returncode)
    check(r.stdout.rstrip().splitlines()[-1].split('  ')[1] == 'warn', 'stopped with a warning')
    check(open(os.path.join(box.root, 'blocked')).read() == 'a file, not a folder', 'blocker untouched')
    check(box.work_files() == [], 'work files left')


def case_jpeg_header(box):
    # A header picture that is neither BMP nor PNG is converted into a bitmap before the checks.
    jpeg = os.path.join(box.examples, 'Example', 'header.jpg')
    subprocess.run(['gm', 'convert', '-size', '150x57', 'gradient:red-blue', jpeg], check=True)
    box.edit_project({'%CURRENT_PATH%\\Bitmaps\\Header\\Header.bmp': 'Example\\header.jpg'})
    box.env['XDG_DATA_HOME'] = os.path.join(box.root, 'data')
    r = box.build()
    check(r.returncode == 0, 'exit status %d' % r.returncode)
    converted = os.path.join(box.root, 'data', 'Belvandorithquessal', 'Bitmaps', 'Import', 'Bmp001.bmp')
    check(os.path.exists(converted) and open(converted, 'rb').read(2) == b'BM', 'header converted to a bitmap')


def add_big_source(box, size=48 * 1024 * 1024):
    """A payload big enough that packing takes a while."""
    big = os.path.join(box.examples, 'Example', 'big.bin')
    with open(big, 'wb') as f:
        f.write(os.urandom(size))
    box.edit_project({'Example\\doc\\changes.txt': 'Example\\big.bin'})


def check_signal_cancels(box, sig):
    """Sends `sig` once packing has begun: the build stops with a warning and leaves nothing."""
    add_big_source(box)
    p = subprocess.Popen([PROGRAM, '/build', box.project], env=box.env, stdout=subprocess.PIPE, text=True)
    lines = []
    for line in p.stdout:
        lines.append(line.rstrip())
        if len(lines) >= 7 and '(signal)' not in lines:
            p.send_signal(sig)
            lines.append('(signal)')
    p.wait(timeout=300)
    print('\n'.join(lines))
    check(p.returncode == 1, 'exit status %d' % p.returncode)
    check(lines[-1].split('  ')[1] == 'warn', 'ends with a warning line')
    check(not os.path.exists(box.setup), 'no setup')
    out = os.path.dirname(box.setup)
    check(not os.path.exists(out) or os.listdir(out) == [], 'no partial setup')
    check(box.work_files() == [], 'work files left: %r' % box.work_files())


def case_cancel(box):
    check_signal_cancels(box, signal.SIGINT)


def case_hangup(box):
    # The terminal closed: SIGHUP cancels the build like SIGINT.
    check_signal_cancels(box, signal.SIGHUP)


def case_closed_output(box):
    # "/build ... | head -1": standard output closes early; the build still finishes and cleans up.
    add_big_source(box, 8 * 1024 * 1024)
    p = subprocess.Popen([PROGRAM, '/build', box.project], env=box.env, stdout=subprocess.PIPE)
    p.stdout.readline()
    p.stdout.close()
    p.wait(timeout=300)
    check(p.returncode == 0, 'exit status %d' % p.returncode)
    check(os.listdir(os.path.dirname(box.setup)) == [os.path.basename(box.setup)], 'only the setup')
    check(read_setup(box.setup)['storage'] == 1, 'a complete setup')
    check(box.work_files() == [], 'work files left: %r' % box.work_files())


def case_setup_over_source(box):
    # A setup path naming a source of the project is refused; the source stays as it was.
    source = os.path.join(box.examples, 'Example', 'doc', 'tool.exe')
    os.rename(os.path.join(box.examples, 'Example', 'doc', 'changes.txt'), source)
    before = open(source, 'rb').read()
    box.edit_project({'Example\\doc\\changes.txt': 'Example\\doc\\tool.exe',
                      '..\\out\\ExampleNotesSetup.exe': 'Example\\doc\\tool.exe'})
    r = box.build()
    check(r.returncode == 1, 'exit status %d' % r.returncode)
    check(open(source, 'rb').read() == before, 'source untouched')
    check('tool.exe' in r.stdout and '  error  ' in r.stdout, 'error line names the path')
    check(box.work_files() == [], 'work files left')


def case_parallel(box):
    # Two builds of one user at the same time share the work folder; neither disturbs the other.
    add_big_source(box, 16 * 1024 * 1024)
    other = os.path.join(box.examples, 'Other.bvq')
    shutil.copy(box.project, other)
    box.edit_project({'..\\out\\ExampleNotesSetup.exe': '..\\out\\OtherSetup.exe'}, other)
    runs = [subprocess.Popen([PROGRAM, '/build', path], env=box.env, stdout=subprocess.PIPE, text=True)
            for path in (box.project, other)]
    outputs = [p.communicate(timeout=600)[0] for p in runs]
    for p, out in zip(runs, outputs):
        print(out)
        check(p.returncode == 0, 'exit status %d' % p.returncode)
    for path in (box.setup, os.path.join(box.root, 'out', 'OtherSetup.exe')):
        with tempfile.TemporaryDirectory() as d:
            cabs = rebuild_cabinets(read_setup(path), d)
            t = subprocess.run(['cabextract', '-t', cabs[0]], capture_output=True, text=True)
            check(t.returncode == 0 and 'All done, no errors' in t.stdout, 'cabextract -t: ' + t.stdout + t.stderr)
    check(box.work_files() == [], 'work files left: %r' % box.work_files())
    check([n for n in os.listdir(os.path.join(box.tmp, '$bvq_inst-%d' % os.getuid()))] == [], 'private folders left')


def case_wine_install(box):
    wine_capability.skip_unless_wine_runs()
    r = box.build()
    check(r.returncode == 0, 'exit status %d' % r.returncode)
    code, target = box.install_silently()
    check(code == 0, 'installer exit code %d' % code)
    src = os.path.join(box.examples, 'Example')
    for name in ['bin/notes.cmd', 'doc/readme.txt', 'doc/changes.txt']:
        path = os.path.join(target, name)
        check(os.path.exists(path) and open(path, 'rb').read() == open(os.path.join(src, name), 'rb').read(),
              'installed ' + name)
    ini = os.path.join(target, 'bin', 'notes.ini')
    check(os.path.exists(ini) and b'Wrap=1' in open(ini, 'rb').read() and b'InstalledBy=' in open(ini, 'rb').read(),
          'notes.ini installed and given its INI entry')
    check(os.path.isdir(os.path.join(target, 'notes')), 'folder-only entry')
    check(os.path.exists(os.path.join(target, 'Uninstall.exe')), 'uninstaller installed')
    box.stop_wine()


run_case(globals(), PROGRAM, EXAMPLES, CASE, failures)
