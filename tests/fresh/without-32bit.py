#!/usr/bin/env python3
"""Runs a command as on a kernel without 32-bit x86 support: a seccomp filter
kills any process that makes a 32-bit system call, so that a 32-bit program
started under it dies at its first call, as it cannot start at all there.
Everything 64-bit runs as before (qemu-i386 too, which makes 64-bit calls).
The filter goes to every process the command starts. Linux on x86-64 only;
as root, so that setuid programs (sudo, runuser) still work beneath it.

Usage: without-32bit.py COMMAND [ARGUMENT...]
"""
# SPDX-License-Identifier: MIT
import ctypes
import os
import struct
import sys

PR_SET_SECCOMP = 22
SECCOMP_MODE_FILTER = 2
AUDIT_ARCH_X86_64 = 0xC000003E
SECCOMP_RET_KILL_PROCESS = 0x80000000
SECCOMP_RET_ALLOW = 0x7FFF0000
# Classic BPF: load the call's architecture (offset 4 of seccomp_data), allow
# x86-64's, kill the rest.
BPF_LD_W_ABS, BPF_JMP_JEQ_K, BPF_RET_K = 0x20, 0x15, 0x06
PROGRAM = [(BPF_LD_W_ABS, 0, 0, 4), (BPF_JMP_JEQ_K, 1, 0, AUDIT_ARCH_X86_64),
           (BPF_RET_K, 0, 0, SECCOMP_RET_KILL_PROCESS), (BPF_RET_K, 0, 0, SECCOMP_RET_ALLOW)]


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__.split('\n\n')[1])
    if os.uname().machine != 'x86_64':
        sys.exit('without-32bit: x86-64 Linux only')
    code = b''.join(struct.pack('HBBI', *instruction) for instruction in PROGRAM)
    buffer = ctypes.create_string_buffer(code)

    class Program(ctypes.Structure):
        _fields_ = [('len', ctypes.c_ushort), ('filter', ctypes.c_void_p)]

    program = Program(len(PROGRAM), ctypes.addressof(buffer))
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, ctypes.byref(program), 0, 0) != 0:
        sys.exit(f'without-32bit: the filter was refused: {os.strerror(ctypes.get_errno())} (run as root)')
    os.execvp(sys.argv[1], sys.argv[1:])


if __name__ == '__main__':
    main()
