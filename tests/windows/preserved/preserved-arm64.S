// ARM64 Windows: a callee preserves x19-x28, the frame pointer x29 and sp, and the low halves of
// v8-v15 (d8-d15). x18 holds the thread's TEB and is never the callee's to change.
//
// Bits of the mask, in order: x19 .. x28, sp/x29 (together: the frame is found through them),
// d8 .. d15.

        .section .rdata,"dr"
        .globl  PreservedRegisterNameList
PreservedRegisterNameList:
        .asciz  "x19 x20 x21 x22 x23 x24 x25 x26 x27 x28 sp/x29 d8 d9 d10 d11 d12 d13 d14 d15"

// The pattern of general register xN is 0xA5A5'0000'0000'00NN; of dN, 0x5A5A'0000'0000'00NN.
.macro  pattern_x reg, n
        movz    \reg, #0xA5A5, lsl #48
        movk    \reg, #\n
.endm
.macro  set_d reg, n
        movz    x10, #0x5A5A, lsl #48
        movk    x10, #\n
        fmov    \reg, x10
.endm
// Sets bit `bit` of w11 when the last comparison found a difference.
.macro  note_difference bit
        cset    w13, ne
        orr     w11, w11, w13, lsl #\bit
.endm
.macro  check_x reg, n, bit
        pattern_x x10, \n
        cmp     \reg, x10
        note_difference \bit
.endm
.macro  check_d reg, n, bit
        fmov    x14, \reg
        movz    x10, #0x5A5A, lsl #48
        movk    x10, #\n
        cmp     x14, x10
        note_difference \bit
.endm

        .text
        .globl  CallCheckingPreservedRegisters
        .p2align 2
        .def    CallCheckingPreservedRegisters
        .scl    2
        .type   32
        .endef
        .seh_proc CallCheckingPreservedRegisters
// x0 entry, x1 caller, x2 selector, x3 message, x4 where the mask goes.
CallCheckingPreservedRegisters:
        stp     x29, x30, [sp, #-176]!
        .seh_save_fplr_x 176
        mov     x29, sp
        .seh_set_fp
        stp     x19, x20, [sp, #16]
        .seh_save_regp x19, 16
        stp     x21, x22, [sp, #32]
        .seh_save_regp x21, 32
        stp     x23, x24, [sp, #48]
        .seh_save_regp x23, 48
        stp     x25, x26, [sp, #64]
        .seh_save_regp x25, 64
        stp     x27, x28, [sp, #80]
        .seh_save_regp x27, 80
        stp     d8, d9, [sp, #96]
        .seh_save_fregp d8, 96
        stp     d10, d11, [sp, #112]
        .seh_save_fregp d10, 112
        stp     d12, d13, [sp, #128]
        .seh_save_fregp d12, 128
        stp     d14, d15, [sp, #144]
        .seh_save_fregp d14, 144
        .seh_endprologue
        str     x4, [sp, #160]

        mov     x9, x0
        mov     x0, x1
        mov     x1, x2
        mov     x2, x3
        pattern_x x19, 19
        pattern_x x20, 20
        pattern_x x21, 21
        pattern_x x22, 22
        pattern_x x23, 23
        pattern_x x24, 24
        pattern_x x25, 25
        pattern_x x26, 26
        pattern_x x27, 27
        pattern_x x28, 28
        set_d   d8, 8
        set_d   d9, 9
        set_d   d10, 10
        set_d   d11, 11
        set_d   d12, 12
        set_d   d13, 13
        set_d   d14, 14
        set_d   d15, 15
        blr     x9

        mov     w12, w0
        mov     w11, #0
        check_x x19, 19, 0
        check_x x20, 20, 1
        check_x x21, 21, 2
        check_x x22, 22, 3
        check_x x23, 23, 4
        check_x x24, 24, 5
        check_x x25, 25, 6
        check_x x26, 26, 7
        check_x x27, 27, 8
        check_x x28, 28, 9
        mov     x10, sp
        cmp     x29, x10
        note_difference 10
        check_d d8, 8, 11
        check_d d9, 9, 12
        check_d d10, 10, 13
        check_d d11, 11, 14
        check_d d12, 12, 15
        check_d d13, 13, 16
        check_d d14, 14, 17
        check_d d15, 15, 18
        ldr     x4, [sp, #160]
        str     w11, [x4]
        mov     w0, w12

        .seh_startepilogue
        ldp     d14, d15, [sp, #144]
        .seh_save_fregp d14, 144
        ldp     d12, d13, [sp, #128]
        .seh_save_fregp d12, 128
        ldp     d10, d11, [sp, #112]
        .seh_save_fregp d10, 112
        ldp     d8, d9, [sp, #96]
        .seh_save_fregp d8, 96
        ldp     x27, x28, [sp, #80]
        .seh_save_regp x27, 80
        ldp     x25, x26, [sp, #64]
        .seh_save_regp x25, 64
        ldp     x23, x24, [sp, #48]
        .seh_save_regp x23, 48
        ldp     x21, x22, [sp, #32]
        .seh_save_regp x21, 32
        ldp     x19, x20, [sp, #16]
        .seh_save_regp x19, 16
        ldp     x29, x30, [sp], #176
        .seh_save_fplr_x 176
        .seh_endepilogue
        ret
        .seh_endproc

// A callee that breaks the rule: changes x19 and d15 and returns 0, so that the check is seen to
// catch a change at either end of its list.
        .globl  ClobberPreservedRegistersForTest
        .p2align 2
        .def    ClobberPreservedRegistersForTest
        .scl    2
        .type   32
        .endef
ClobberPreservedRegistersForTest:
        mov     x19, #1
        fmov    d15, x19
        mov     w0, #0
        ret
