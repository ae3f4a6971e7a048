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
        shll    $(\bit), %ecx
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
        movdqu  xmm_patterns + 16 * (\index)(%rip), %xmm0
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
        .irp    reg, rbp, rbx, rdi, rsi, r12, r13, r14, r15
        pushq   %\reg
        .seh_pushreg %\reg
        .endr
        // The callee's 32 bytes of home space, xmm6-xmm15 at 32, the mask's address at 192; 16-byte
        // aligned for the call.
        subq    $200, %rsp
        .seh_stackalloc 200
        .irp    n, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15
        movdqa  %xmm\n, 32 + 16 * (\n - 6)(%rsp)
        .seh_savexmm %xmm\n, 32 + 16 * (\n - 6)
        .endr
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
        .irp    n, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15
        movdqu  xmm_patterns + 16 * (\n - 6)(%rip), %xmm\n
        .endr
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
        .irp    n, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15
        check_xmm %xmm\n, (\n-6), (\n+2)
        .endr
        movq    192(%rsp), %rax
        movl    %r11d, (%rax)
        movl    %r10d, %eax

        .irp    n, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15
        movdqa  32 + 16 * (\n - 6)(%rsp), %xmm\n
        .endr
        addq    $200, %rsp
        .irp    reg, r15, r14, r13, r12, rsi, rdi, rbx, rbp
        popq    %\reg
        .endr
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
