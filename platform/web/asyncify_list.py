#!/usr/bin/env python3
"""Lists the functions of a WebAssembly module that may be on the call stack
when it calls a given import: those asyncify must rewrite so that the call can
wait (asyncify-onlylist), and no others.

Usage: asyncify_list.py MODULE.wasm IMPORT_MODULE IMPORT_NAME OUT.wasm OUT_LIST

Left to itself, asyncify takes every indirect call for one that may reach the
import, and so rewrites nearly the whole game (a third of the module's code).
Here an indirect call reaches only the table's functions of its own type: a
call_indirect traps on any other, so no call can take another way.
The list names functions by their index (f12), as OUT.wasm, the module with
its function names replaced by those, names them for Binaryen: the linker's
own names hold commas, which would split the list.
"""
# SPDX-License-Identifier: MIT
import sys
from collections import defaultdict
from pathlib import Path


class Reader:
    def __init__(self, data, at=0, end=None):
        self.data, self.at, self.end = data, at, len(data) if end is None else end

    def byte(self):
        value = self.data[self.at]
        self.at += 1
        return value

    def u32(self):
        result = shift = 0
        while True:
            value = self.byte()
            result |= (value & 0x7F) << shift
            shift += 7
            if value < 0x80:
                return result

    signed = u32  # only skipped: the value itself is never needed

    def skip(self, count):
        self.at += count

    def name(self):
        length = self.u32()
        self.at += length
        return self.data[self.at - length:self.at].decode()

    def vector(self, read):
        return [read() for _ in range(self.u32())]

    def done(self):
        return self.at >= self.end


def uleb(value):
    out = bytearray()
    while True:
        low, value = value & 0x7F, value >> 7
        out.append(low | (0x80 if value else 0))
        if not value:
            return bytes(out)


VALUE_TYPES = {0x7F, 0x7E, 0x7D, 0x7C, 0x7B, 0x70, 0x6F}
# Instructions by their immediates (those with none are any other opcode up to
# 0xC4): one u32, a memory argument (two), and the rest read below.
ONE_U32 = {0x0C, 0x0D, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0xD2}
MEMORY = set(range(0x28, 0x3F))
PLAIN = {0x00, 0x01, 0x05, 0x0B, 0x0F, 0x1A, 0x1B, 0xD1} | set(range(0x45, 0xC5))
# The 0xFC prefix: saturating truncation (no immediate), bulk memory and tables.
PREFIXED = {**{op: '' for op in range(8)}, 8: 'ub', 9: 'u', 10: 'bb', 11: 'b', 12: 'uu', 13: 'u', 14: 'uu',
            15: 'u', 16: 'u', 17: 'u'}


def calls(body):
    """The direct callees (function indices) and the types of the indirect
    calls in one function body; fails on an instruction it does not know."""
    direct, indirect = set(), set()
    for _ in range(body.u32()):  # the locals
        body.u32()
        body.byte()
    while not body.done():
        op = body.byte()
        if op in (0x02, 0x03, 0x04):  # block, loop, if: empty, a value type or a type index
            if body.data[body.at] == 0x40 or body.data[body.at] in VALUE_TYPES:
                body.skip(1)
            else:
                body.signed()
        elif op in (0x10, 0x12):  # call, return_call
            direct.add(body.u32())
        elif op in (0x11, 0x13):  # call_indirect, return_call_indirect
            indirect.add(body.u32())
            body.u32()
        elif op == 0x0E:  # br_table
            body.vector(body.u32)
            body.u32()
        elif op == 0x1C:  # select with types
            body.vector(body.byte)
        elif op in ONE_U32:
            body.u32()
        elif op in MEMORY:
            body.u32()
            body.u32()
        elif op in (0x3F, 0x40, 0xD0):  # memory.size, memory.grow, ref.null
            body.skip(1)
        elif op in (0x41, 0x42):
            body.signed()
        elif op in (0x43, 0x44):
            body.skip(4 if op == 0x43 else 8)
        elif op == 0xFC:
            sub = body.u32()
            if sub not in PREFIXED:
                raise SystemExit(f'asyncify_list: unknown instruction 0xFC {sub}')
            for kind in PREFIXED[sub]:
                body.u32() if kind == 'u' else body.skip(1)
        elif op not in PLAIN:
            raise SystemExit(f'asyncify_list: unknown instruction 0x{op:02X}')
    return direct, indirect


def main():
    path, import_module, import_name, out_module, out_list = sys.argv[1:]
    data = Path(path).read_bytes()
    if data[:8] != b'\0asm\1\0\0\0':
        raise SystemExit(f'asyncify_list: {path} is no WebAssembly module')
    module = Reader(data, 8)
    types, function_types, imported, table, bodies, kept = [], [], 0, set(), [], []
    target = None
    while not module.done():
        head = module.at
        section, size = module.byte(), module.u32()
        start = module.at
        part = Reader(data, start, start + size)
        if section == 1:
            for _ in range(part.u32()):
                if part.byte() != 0x60:
                    raise SystemExit('asyncify_list: a type that is no function type')
                types.append((tuple(part.vector(part.byte)), tuple(part.vector(part.byte))))
        elif section == 2:
            for _ in range(part.u32()):
                where, name, kind = part.name(), part.name(), part.byte()
                if kind == 0:
                    if (where, name) == (import_module, import_name):
                        target = len(function_types)
                    function_types.append(types[part.u32()])
                    imported += 1
                elif kind in (1, 2):  # a table (its element type) or a memory: their limits
                    if kind == 1:
                        part.byte()
                    bounded = part.byte() & 1
                    part.u32()
                    if bounded:
                        part.u32()
                elif kind == 3:  # a global: its type and mutability
                    part.skip(2)
                else:
                    raise SystemExit(f'asyncify_list: an import of kind {kind}')
        elif section == 3:
            function_types += [types[index] for index in part.vector(part.u32)]
        elif section == 9:
            for _ in range(part.u32()):
                flags = part.u32()
                if flags not in (0, 2):
                    raise SystemExit(f'asyncify_list: an element segment of kind {flags}')
                if flags == 2:
                    part.u32()
                while part.byte() != 0x0B:  # the offset's expression
                    pass
                if flags == 2 and part.byte() != 0:
                    raise SystemExit('asyncify_list: an element segment of other than functions')
                table.update(part.vector(part.u32))
        elif section == 10:
            for _ in range(part.u32()):
                length = part.u32()
                bodies.append(Reader(data, part.at, part.at + length))
                part.skip(length)
        module.at = start + size
        if section != 0 or part.name() != 'name':
            kept.append(data[head:module.at])
    if target is None:
        raise SystemExit(f'asyncify_list: {path} does not import {import_module}.{import_name}')

    by_type = defaultdict(set)
    for index in table:
        by_type[function_types[index]].add(index)
    callers = defaultdict(set)
    for offset, body in enumerate(bodies):
        caller = imported + offset
        direct, indirect = calls(body)
        for callee in direct:
            callers[callee].add(caller)
        for type_index in indirect:
            for callee in by_type[types[type_index]]:
                callers[callee].add(caller)
    waiting, todo = set(), [target]
    while todo:
        for caller in callers[todo.pop()]:
            if caller not in waiting:
                waiting.add(caller)
                todo.append(caller)
    # The name section: its function names (subsection 1), one for each function.
    names = b''.join(uleb(index) + uleb(len(f'f{index}')) + f'f{index}'.encode() for index in range(len(function_types)))
    names = uleb(len(function_types)) + names
    payload = uleb(4) + b'name' + b'\1' + uleb(len(names)) + names
    Path(out_module).write_bytes(data[:8] + b''.join(kept) + b'\0' + uleb(len(payload)) + payload)
    Path(out_list).write_text(','.join(f'f{index}' for index in sorted(waiting)) + '\n')
    print(f'{len(waiting)} of {len(bodies)} functions may wait for {import_module}.{import_name}')


if __name__ == '__main__':
    main()
