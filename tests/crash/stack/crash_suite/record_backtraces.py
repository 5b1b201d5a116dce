# Records gdb's backtrace of every crash-suite scenario at its probe point: gdb runs the scenario
# program once per scenario, stops where the scenario walks its stack and writes the frames it
# finds there to <folder>/<scenario>.gdb.txt. The judge compares the walker's frames with these.
#
#   gdb -batch -nx -x record_backtraces.py \
#       -ex "python record_backtraces('FOLDER', 'SOURCE_FOLDER', 'SCENARIO ...')" --args PROGRAM
#
# One line per frame with a return address, innermost first, tab-separated:
#
#   kind  module  address  line  names
#
# kind is "call" (address: the call instruction in front of gdb's pc, found by gdb's disassembler)
# or "location" (the interrupted instruction itself, for the frame a signal stopped); module is
# "program" for the scenario program (address relative to its load address) or the file name of
# another module (address absolute); line is the source line of the frame's innermost inlined
# function when that lies in the suite's sources, else 0; names are gdb's names of the frame's
# inlined functions and of its real function, innermost first, joined by " < ". gdb's backtrace
# ends at main.
#
# gdb's inlined frames have no return address of their own: they are folded into the real frame
# they were inlined into. Frames that gdb reconstructs for tail calls have none either and are
# left out. The probe point's own frame (and, for a fault, the signal handler's frames up to the
# signal frame) is where the walk runs: the record starts above it.
import os
import re

import gdb

PROBE_POINTS = (
    "suite_probe::ProbePoint",
    "suite_probe::ProbePointWithFramePointer",
    "suite_probe::(anonymous namespace)::ProbeFault",
    "__cxa_throw",
)


def program_range(program):
    """The lowest and highest address of the program's mappings in the stopped process."""
    mappings = gdb.execute("info proc mappings", to_string=True)
    starts, ends = [], []
    for line in mappings.splitlines():
        fields = line.split()
        # The file name comes last and may hold blanks.
        if line.rstrip().endswith(" " + program) and fields[0].startswith("0x"):
            starts.append(int(fields[0], 16))
            ends.append(int(fields[1], 16))
    if not starts:
        raise gdb.GdbError("the program %s is not mapped" % program)
    return min(starts), max(ends)


def symbol_start(address):
    """The start of the ELF symbol that holds address, or None."""
    text = gdb.execute("info symbol %#x" % address, to_string=True)
    if text.startswith("No symbol"):
        return None
    offsets = re.findall(r" \+ (\d+) in section ", text)
    return address - (int(offsets[-1]) if offsets else 0)


def call_in_front_of(architecture, return_address):
    """The address of the instruction that ends at return_address, decoded from its symbol's start
    so that the decoding is in step with the code."""
    start = symbol_start(return_address - 1)
    if start is None:
        raise gdb.GdbError("no symbol holds the call in front of %#x" % return_address)
    for instruction in architecture.disassemble(start, return_address - 1):
        if instruction["addr"] + instruction["length"] == return_address:
            if not instruction["asm"].startswith("call"):
                raise gdb.GdbError("%#x follows no call: %s" % (return_address, instruction["asm"]))
            return instruction["addr"]
    raise gdb.GdbError("no instruction ends at %#x" % return_address)


def frame_groups(newest):
    """The frames from the probe point outwards, each real frame with the inlined ones that share
    its pc; None marks a signal frame."""
    groups, inlined = [], []
    frame = newest
    while frame is not None:
        kind = frame.type()
        if kind == gdb.SIGTRAMP_FRAME:
            groups.append(None)
        elif kind == gdb.INLINE_FRAME:
            inlined.append(frame)
        elif kind != gdb.TAILCALL_FRAME:
            groups.append(inlined + [frame])
            inlined = []
        frame = frame.older()
    # The probe point, or the signal handler up to the signal frame, is the walk itself.
    if None in groups:
        return groups[len(groups) - groups[::-1].index(None):], True
    return groups[1:], False


def record_frame(group, is_location, program, program_span, sources):
    real = group[-1]
    pc = real.pc()
    if program_span[0] <= pc < program_span[1]:
        module = "program"
        address = pc if is_location else call_in_front_of(real.architecture(), pc)
        address -= program_span[0]
    else:
        library = gdb.solib_name(pc)
        module = os.path.basename(library) if library else "?"
        address = pc
    sal = group[0].find_sal()
    line = 0
    if sal.symtab is not None and sal.symtab.fullname().startswith(sources):
        line = sal.line
    names = " < ".join(frame.name() or "??" for frame in group)
    return "%s\t%s\t%x\t%d\t%s\n" % (
        "location" if is_location else "call", module, address, line, names)


def record_scenario(folder, sources, program, scenario):
    gdb.execute("run %s >/dev/null 2>&1" % scenario, to_string=True)
    if gdb.selected_inferior().pid == 0:
        raise gdb.GdbError("scenario %s ended without reaching a probe point" % scenario)
    span = program_range(program)
    groups, after_signal = frame_groups(gdb.newest_frame())
    lines = [record_frame(group, after_signal and index == 0, program, span, sources)
             for index, group in enumerate(groups)]
    gdb.execute("kill", to_string=True)
    with open(os.path.join(folder, scenario + ".gdb.txt"), "w") as out:
        out.writelines(lines)


def record_backtraces(folder, sources, scenarios):
    for setting in ("pagination off", "confirm off", "debuginfod enabled off",
                    "print thread-events off"):
        gdb.execute("set " + setting)
    gdb.execute("handle SIGSEGV nostop noprint pass", to_string=True)
    for probe in PROBE_POINTS:
        gdb.execute("break " + probe, to_string=True)
    for breakpoint in gdb.breakpoints():
        breakpoint.silent = True
    program = os.path.realpath(gdb.current_progspace().filename)
    os.makedirs(folder, exist_ok=True)
    for scenario in scenarios.split():
        record_scenario(folder, os.path.realpath(sources) + os.sep, program, scenario)
