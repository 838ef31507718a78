; SPDX-License-Identifier: GPL-3.0-or-later
; Licensed under the GNU General Public License, version 3 or later.
; Compact video player for the Sharp PC-1600.
;
; Plays a video whose frames are stored as changes against the frame before:
; each frame is decoded into a buffer in common memory, shown band by band and
; held for its number of wait ticks. Loaded at 0xEEB1 (where the plain player
; lives) and started there; CALL &EEB1 plays the video again from frame 1.
;
; It calls only the five system routines the plain player calls, with the
; same registers, and relies on nothing they might change but B across the
; wait tick and the carry of the key check. Its variables lie in its own
; memory; it uses two bytes of the caller's stack for one subroutine call.
;
; The layout below must match conversion/compact_layout.h.

DISPLAY_SETUP:  equ 0x0112
WAIT_TICK:      equ 0x012A
SHOW_BAND:      equ 0x0160
KEY_CHECK:      equ 0x016F
SELECT_BANK:    equ 0x0190

BAND_BYTES:     equ 156
BUFFER:         equ 0xEC41          ; one frame, 624 bytes, up to 0xEEB0
FACTS:          equ 0xEC2D          ; 20 bytes of video facts below the buffer
FRAME_COUNT:    equ FACTS           ; frames of the video, 16 bits
PARTS:          equ FACTS + 4       ; parts 0 to 3: first stream byte, frames

; A frame in a stream: wait ticks (16 bits), then codes until 00:
;   01-7F        skip that many bytes of the buffer
;   80-BF        copy the (code - 7F) bytes that follow
;   C0-FF b      write b (code - BF) times

                org 0xEEB1

start:          call DISPLAY_SETUP
                ld hl, BUFFER           ; frame 1 is stored against a blank frame
                ld de, BUFFER + 1
                ld bc, 4 * BAND_BYTES - 1
                ld (hl), 0
                ldir
                ld hl, (FRAME_COUNT)
                ld (framesLeft), hl
                xor a
                ld (bank), a
                call enterPart

frame:          ld a, (bank)
                ld b, 2
                call SELECT_BANK
                ld hl, (stream)
                ld e, (hl)
                inc hl
                ld d, (hl)
                inc hl
                ld (ticks), de
                ld de, BUFFER

decode:         ld a, (hl)
                inc hl
                or a
                jr z, decoded
                jp p, skip
                bit 6, a
                jr nz, repeat
                and 0x3F                ; literal
                inc a
                ld c, a
                ld b, 0
                ldir
                jr decode
repeat:         and 0x3F
                inc a
                ld b, a
                ld a, (hl)
                inc hl
fill:           ld (de), a
                inc de
                djnz fill
                jr decode
skip:           add a, e
                ld e, a
                jr nc, decode
                inc d
                jr decode

decoded:        ld (stream), hl
                ld a, 3
                ld de, BUFFER + 3 * BAND_BYTES
                ld hl, BAND_BYTES
                call SHOW_BAND
                ld a, 2
                ld de, BUFFER + 2 * BAND_BYTES
                ld hl, BAND_BYTES
                call SHOW_BAND
                ld a, 1
                ld de, BUFFER + BAND_BYTES
                ld hl, BAND_BYTES
                call SHOW_BAND
                xor a
                ld de, BUFFER
                ld hl, BAND_BYTES
                call SHOW_BAND

                ld a, (ticks)           ; the low byte of the ticks first,
                ld b, a
                or a
                jr z, waitBlocks
waitTicks:      call WAIT_TICK
                djnz waitTicks
waitBlocks:     ld a, (ticks + 1)       ; then 256 ticks per unit of the high byte
                or a
                jr z, waited
                dec a
                ld (ticks + 1), a
                ld b, 0
waitBlock:      call WAIT_TICK
                djnz waitBlock
                jr waitBlocks

waited:         call KEY_CHECK
                ret c
                ld hl, (framesLeft)
                dec hl
                ld (framesLeft), hl
                ld a, h
                or l
                ret z
                ld hl, (partLeft)
                dec hl
                ld (partLeft), hl
                ld a, h
                or l
                jp nz, frame
                ld hl, bank             ; the part is done: on to the next bank
                inc (hl)
                call enterPart
                jp frame

; Stream start and frame count of the part in the bank given at `bank`.
enterPart:      ld a, (bank)
                add a, a
                add a, a
                ld e, a
                ld d, 0
                ld hl, PARTS
                add hl, de
                ld de, stream
                ld bc, 4
                ldir
                ret

stream:         dw 0                    ; next byte of the stream
partLeft:       dw 0                    ; frames of the part still to show
framesLeft:     dw 0                    ; frames of the video still to show
ticks:          dw 0                    ; wait of the frame shown
bank:           db 0
