// x86 Windows (cdecl, as the host calls its plug-ins): a callee preserves ebx, esi, edi and ebp
// (and esp, without which nothing here would come back). C names carry a leading underscore.
//
// Bits of the mask, in order: ebx esi edi ebp.

        .section .rdata,"dr"
        .globl  _PreservedRegisterNameList
_PreservedRegisterNameList:
        .asciz  "ebx esi edi ebp"

// The pattern of the register of bit N is 0xA5A5'000N.
.macro  check reg, bit
        cmpl    $0xA5A5000\bit, \reg
        setne   %cl
        movzbl  %cl, %ecx
        shll    $\bit, %ecx
        orl     %ecx, %edx
.endm

        .text
        .globl  _CallCheckingPreservedRegisters
        .def    _CallCheckingPreservedRegisters
        .scl    2
        .type   32
        .endef
// On the stack: entry, caller, selector, message, the mask's address.
_CallCheckingPreservedRegisters:
        pushl   %ebp
        pushl   %ebx
        pushl   %esi
        pushl   %edi
        // After the four pushes and the return address the arguments start at 20(%esp); each push
        // of an argument moves the next one 4 bytes further.
        movl    20(%esp), %eax
        pushl   32(%esp)
        pushl   32(%esp)
        pushl   32(%esp)
        movl    $0xA5A50000, %ebx
        movl    $0xA5A50001, %esi
        movl    $0xA5A50002, %edi
        movl    $0xA5A50003, %ebp
        call    *%eax
        addl    $12, %esp

        xorl    %edx, %edx
        check   %ebx, 0
        check   %esi, 1
        check   %edi, 2
        check   %ebp, 3
        movl    36(%esp), %ecx
        movl    %edx, (%ecx)
        popl    %edi
        popl    %esi
        popl    %ebx
        popl    %ebp
        ret

// A callee that breaks the rule: changes ebx and ebp and returns 0, so that the check is seen to
// catch a change at either end of its list.
        .globl  _ClobberPreservedRegistersForTest
        .def    _ClobberPreservedRegistersForTest
        .scl    2
        .type   32
        .endef
_ClobberPreservedRegistersForTest:
        movl    $1, %ebx
        movl    $1, %ebp
        xorl    %eax, %eax
        ret
