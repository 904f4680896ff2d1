/* The six frame images, compiled into the executable as read-only data. */
    .section .rdata,"dr"

.macro frame name, file
    .globl \name
    .globl \name\()_end
    .balign 16
\name:
    .incbin "\file"
\name\()_end:
.endm

    frame frameLord3, "frame-lord-3.png"
    frame frameLord4, "frame-lord-4.png"
    frame frameMinister3, "frame-minister-3.png"
    frame frameMinister4, "frame-minister-4.png"
    frame frameCommoner3, "frame-commoner-3.png"
    frame frameCommoner4, "frame-commoner-4.png"
