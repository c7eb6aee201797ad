"""Setups made by the program itself: a project described in rows for stub_project_maker
(see tests/stub/project_maker.cpp) is written as a project file and turned into a setup by
`belvandorithquessal /build`, as an author's command-line build would."""
import os
import subprocess


def build_setup(program, maker, rows, folder):
    """Writes the project of the rows to folder/project.bvq and builds it, with settings and
    work files of its own below folder. Returns (exit status, what the build wrote)."""
    description = os.path.join(folder, 'project.txt')
    with open(description, 'w', encoding='utf-8') as fh:
        fh.write(''.join('\t'.join(r) + '\n' for r in rows))
    project = os.path.join(folder, 'project.bvq')
    program_folder = os.path.dirname(os.path.abspath(program))
    subprocess.run([maker, program_folder, description, project], check=True)
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(folder, 'config'),
               XDG_DATA_HOME=os.path.join(folder, 'data'), TMPDIR=folder)
    r = subprocess.run([program, '/build', project], env=env, capture_output=True, text=True, timeout=600)
    return r.returncode, r.stdout + r.stderr
