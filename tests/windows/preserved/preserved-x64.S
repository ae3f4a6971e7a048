// x64 Windows: a callee preserves rbx, rbp, rdi, rsi, r12-r15 and all of xmm6-xmm15 (and rsp,
// without which nothing here would come back).
//
// Bits of the mask, in order: rbx rbp rdi rsi r12 r13 r14 r15, xmm6 .. xmm15.

        .section .rdata,"dr"
        .globl  PreservedRegisterNameList
PreservedRegisterNameList:
        .asciz  "rbx rbp rdi rsi r12 r13 r14 r15 xmm6 xmm7 xmm8 xmm9 xmm10 xmm11 xmm12 xmm13 xmm14 xmm15"

// The pattern of the general register of bit N is 0xA5A5'0000'0000'000N; each xmm register has
// sixteen bytes of its own.
        .p2align 4
xmm_patterns:
        .irp    n, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15
        .quad   0x5A5A0000000000\n, 0x3C3C0000000000\n
        .endr

// Sets bit `bit` of r11d when the last comparison found a difference.
.macro  note_difference bit
        setne   %cl
        movzbl  %cl, %ecx
        shll    $\bit, %ecx
        orl     %ecx, %r11d
.endm
.macro  set_gp reg, bit
        movabsq $0xA5A500000000000\bit, \reg
.endm
.macro  check_gp reg, bit
        movabsq $0xA5A500000000000\bit, %rax
        cmpq    %rax, \reg
        note_difference \bit
.endm
.macro  check_xmm reg, index, bit
        movdqu  xmm_patterns+16*\index(%rip), %xmm0
        pcmpeqb \reg, %xmm0
        pmovmskb %xmm0, %ecx
        cmpl    $0xFFFF, %ecx
        note_difference \bit
.endm

        .text
        .globl  CallCheckingPreservedRegisters
        .def    CallCheckingPreservedRegisters
        .scl    2
        .type   32
        .endef
        .seh_proc CallCheckingPreservedRegisters
// rcx entry, rdx caller, r8 selector, r9 message; the mask's address is the fifth argument, on
// the stack.
CallCheckingPreservedRegisters:
        pushq   %rbp
        .seh_pushreg %rbp
        pushq   %rbx
        .seh_pushreg %rbx
        pushq   %rdi
        .seh_pushreg %rdi
        pushq   %rsi
        .seh_pushreg %rsi
        pushq   %r12
        .seh_pushreg %r12
        pushq   %r13
        .seh_pushreg %r13
        pushq   %r14
        .seh_pushreg %r14
        pushq   %r15
        .seh_pushreg %r15
        // The callee's 32 bytes of home space, xmm6-xmm15 at 32, the mask's address at 192; 16-byte
        // aligned for the call.
        subq    $200, %rsp
        .seh_stackalloc 200
        movdqa  %xmm6, 32(%rsp)
        .seh_savexmm %xmm6, 32
        movdqa  %xmm7, 48(%rsp)
        .seh_savexmm %xmm7, 48
        movdqa  %xmm8, 64(%rsp)
        .seh_savexmm %xmm8, 64
        movdqa  %xmm9, 80(%rsp)
        .seh_savexmm %xmm9, 80
        movdqa  %xmm10, 96(%rsp)
        .seh_savexmm %xmm10, 96
        movdqa  %xmm11, 112(%rsp)
        .seh_savexmm %xmm11, 112
        movdqa  %xmm12, 128(%rsp)
        .seh_savexmm %xmm12, 128
        movdqa  %xmm13, 144(%rsp)
        .seh_savexmm %xmm13, 144
        movdqa  %xmm14, 160(%rsp)
        .seh_savexmm %xmm14, 160
        movdqa  %xmm15, 176(%rsp)
        .seh_savexmm %xmm15, 176
        .seh_endprologue
        // The fifth argument: above the return address and the caller's home space, past the
        // eight pushes and the allocation.
        movq    (200 + 8 * 8 + 8 + 32)(%rsp), %rax
        movq    %rax, 192(%rsp)

        movq    %rcx, %rax
        movq    %rdx, %rcx
        movq    %r8, %rdx
        movq    %r9, %r8
        set_gp  %rbx, 0
        set_gp  %rbp, 1
        set_gp  %rdi, 2
        set_gp  %rsi, 3
        set_gp  %r12, 4
        set_gp  %r13, 5
        set_gp  %r14, 6
        set_gp  %r15, 7
        movdqu  xmm_patterns+0(%rip), %xmm6
        movdqu  xmm_patterns+16(%rip), %xmm7
        movdqu  xmm_patterns+32(%rip), %xmm8
        movdqu  xmm_patterns+48(%rip), %xmm9
        movdqu  xmm_patterns+64(%rip), %xmm10
        movdqu  xmm_patterns+80(%rip), %xmm11
        movdqu  xmm_patterns+96(%rip), %xmm12
        movdqu  xmm_patterns+112(%rip), %xmm13
        movdqu  xmm_patterns+128(%rip), %xmm14
        movdqu  xmm_patterns+144(%rip), %xmm15
        callq   *%rax

        movl    %eax, %r10d
        xorl    %r11d, %r11d
        check_gp %rbx, 0
        check_gp %rbp, 1
        check_gp %rdi, 2
        check_gp %rsi, 3
        check_gp %r12, 4
        check_gp %r13, 5
        check_gp %r14, 6
        check_gp %r15, 7
        check_xmm %xmm6, 0, 8
        check_xmm %xmm7, 1, 9
        check_xmm %xmm8, 2, 10
        check_xmm %xmm9, 3, 11
        check_xmm %xmm10, 4, 12
        check_xmm %xmm11, 5, 13
        check_xmm %xmm12, 6, 14
        check_xmm %xmm13, 7, 15
        check_xmm %xmm14, 8, 16
        check_xmm %xmm15, 9, 17
        movq    192(%rsp), %rax
        movl    %r11d, (%rax)
        movl    %r10d, %eax

        movdqa  32(%rsp), %xmm6
        movdqa  48(%rsp), %xmm7
        movdqa  64(%rsp), %xmm8
        movdqa  80(%rsp), %xmm9
        movdqa  96(%rsp), %xmm10
        movdqa  112(%rsp), %xmm11
        movdqa  128(%rsp), %xmm12
        movdqa  144(%rsp), %xmm13
        movdqa  160(%rsp), %xmm14
        movdqa  176(%rsp), %xmm15
        addq    $200, %rsp
        popq    %r15
        popq    %r14
        popq    %r13
        popq    %r12
        popq    %rsi
        popq    %rdi
        popq    %rbx
        popq    %rbp
        retq
        .seh_endproc

// A callee that breaks the rule: changes rbx and xmm15 and returns 0, so that the check is seen to
// catch a change at either end of its list.
        .globl  ClobberPreservedRegistersForTest
        .def    ClobberPreservedRegistersForTest
        .scl    2
        .type   32
        .endef
ClobberPreservedRegistersForTest:
        movl    $1, %ebx
        pxor    %xmm15, %xmm15
        xorl    %eax, %eax
        retq
