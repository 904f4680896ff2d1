/* The six frame images, compiled into the executable as read-only data. */
    .section .rdata,"dr"
