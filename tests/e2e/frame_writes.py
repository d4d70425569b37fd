# Run by gdb (-x) on the program: which of the program's own mutable
# variables change while the functions named are running. Environment:
#   FW_SYMS   lines "name offset size" of the variables to watch
#   FW_MAIN   the offset of main(), to find where the program was loaded
#   FW_BREAKS the functions to watch, comma separated, each with :N to
#             watch only every N-th call
#   FW_CALLS  how many calls to watch
#   FW_OUT    where to write "calls<TAB>FUNCTION<TAB>N" lines and a
#             "written<TAB>NAME<TAB>FUNCTIONS" line for each name written
import os

import gdb

variables = []
for line in open(os.environ["FW_SYMS"]):
    name, offset, size = line.split()
    variables.append((name, int(offset, 16), int(size, 16)))
for command in ("set pagination off", "set confirm off", "set print thread-events off", "break main"):
    gdb.execute(command)
gdb.execute("run", to_string=True)
base = int(gdb.parse_and_eval("(long)&main")) - int(os.environ["FW_MAIN"], 16)
gdb.execute("delete")
breaks = []
for watched in os.environ["FW_BREAKS"].split(","):
    name, _, every = watched.rpartition(":") if watched[-1].isdigit() else (watched, "", "1")
    breaks.append((gdb.Breakpoint(name), int(every)))
inferior = gdb.selected_inferior()


def snapshot():
    return [bytes(inferior.read_memory(base + offset, size)) for _, offset, size in variables]


written, calls = {}, {}
for _ in range(int(os.environ["FW_CALLS"])):
    for b, every in breaks:
        b.ignore_count = every - 1
    try:
        gdb.execute("continue", to_string=True)
    except gdb.error:
        break
    if not inferior.pid:
        break
    function = gdb.selected_frame().name()
    calls[function] = calls.get(function, 0) + 1
    before = snapshot()
    gdb.execute("finish", to_string=True)
    for (name, _, _), a, b in zip(variables, before, snapshot()):
        if a != b:
            written.setdefault(name, set()).add(function)
with open(os.environ["FW_OUT"], "w") as out:
    for function, n in calls.items():
        out.write("calls\t%s\t%d\n" % (function, n))
    for name in sorted(written):
        out.write("written\t%s\t%s\n" % (name, ", ".join(sorted(written[name]))))
gdb.execute("kill")
