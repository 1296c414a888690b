#!/usr/bin/env python3
"""Writes the seed corpora in corpus/<target>/: the cases worth starting from, spelled in the
fuzzers' input language (see fuzz_input.h and the fuzzers' LLVMFuzzerTestOneInput)."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# Text: chunks, each literal (op 1, count, units) or repeated (op 2, unit, count - 1); op 0 ends.
# A wide unit is one byte below 0xFF, or 0xFF and a 16-bit code unit.


def unit(c, wide):
    code = ord(c)
    if not wide or code < 0xFF:
        assert code < 0x100
        return bytes([code])
    return bytes([0xFF]) + struct.pack('<H', code)


def literal(text, wide=False):
    out = b''
    for start in range(0, len(text), 255):
        part = text[start:start + 255]
        out += bytes([1, len(part)]) + b''.join(unit(c, wide) for c in part)
    return out


def repeat(c, count, wide=False):
    out = b''
    while count > 0:
        n = min(count, 256)
        out += bytes([2]) + unit(c, wide) + bytes([n - 1])
        count -= n
    return out


def text(*chunks):
    return b''.join(chunks) + b'\0'


# Format: chunks as above (op 1 literal, op 2 repeated) and conversions (op 3: shape, variant,
# width if shape & 0x20, precision if shape & 0x40, then the value); op 0 ends. Conversions
# take the arguments Text, Signed, Unsigned, Wide, Character in that order, then again.
def conversion(shape=0, variant=0, width=None, precision=None, value=b''):
    out = bytes([3, shape | (0x20 if width is not None else 0) | (0x40 if precision is not None else 0), variant])
    if width is not None:
        out += bytes([width])
    if precision is not None:
        out += bytes([precision])
    return out + value


def u32(n):
    return struct.pack('<I', n & 0xFFFFFFFF)


def u64(n):
    return struct.pack('<Q', n & 0xFFFFFFFFFFFFFFFF)


def size(n):
    return struct.pack('<H', n)


NAMED, UNNAMED, REFUSED, LINE_SIZE = 0, 1, 0x40, 0x80

line_compose = {}
# "Scanner : count=5": the argument schedule starts with a text, so "%s" of an empty text
# comes first with precision 0 to reach the Signed slot.
line_compose['named-count'] = (bytes([NAMED]) + text(literal('Scanner')) + literal('count=')
                               + conversion(precision=0, value=text()) + conversion(value=u32(5)) + b'\0-')
line_compose['unnamed-format-cut-at-256'] = bytes([UNNAMED]) + repeat('f', 300) + b'\0\0'
line_compose['unnamed-conversion-at-the-cut'] = (bytes([UNNAMED]) + repeat('a', 250) + literal('12345')
                                                 + conversion(value=text(literal('xyz'))) + b'\0\0')
line_compose['unnamed-percent-at-the-cut'] = bytes([UNNAMED]) + repeat('a', 255) + literal('%%d') + b'\0\0'
line_compose['name-fills-composition-buffer'] = bytes([NAMED]) + text(repeat('n', 273)) + literal('format') + b'\0\0'
line_compose['name-longer-than-composition-buffer'] = bytes([NAMED]) + text(repeat('n', 280)) + literal('format') + b'\0\0'
line_compose['name-with-conversions'] = (bytes([NAMED]) + text(literal('%s%n%d%%%')) + literal('%')
                                         + conversion(value=text(literal('x'))) + b'\0\0')
line_compose['line-cut-to-atom'] = (bytes([NAMED]) + text(repeat('t', 200))
                                    + conversion(value=text(repeat('v', 100))) + b'\0=')
line_compose['text-of-255'] = bytes([UNNAMED]) + repeat('a', 254) + b'\0\0'
line_compose['text-of-256'] = bytes([UNNAMED]) + repeat('a', 255) + b'\0\0'
line_compose['every-conversion'] = (bytes([NAMED]) + text(literal('T'))
                                    + conversion(shape=0x01, width=12, value=text(literal('str')))
                                    + literal(' ') + conversion(shape=0x0E, variant=0x11, width=8, precision=3, value=u32(-42))
                                    + literal(' ') + conversion(shape=0x04, variant=0x12, value=u32(0xBEEF))
                                    + literal(' ') + conversion(shape=0x02, value=u64(-(1 << 40)))
                                    + literal(' ') + conversion(value=b'\x41')
                                    + literal(' end') + b'\0*')
line_compose['embedded-nul-character'] = (bytes([UNNAMED]) + literal('before ')
                                          + conversion(precision=0, value=text()) + conversion(precision=0, value=u32(0))
                                          + conversion(precision=0, value=u32(0)) + conversion(precision=0, value=u64(0))
                                          + conversion(value=b'\0') + literal(' after') + b'\0\0')
line_compose['long-line-name-of-280'] = bytes([LINE_SIZE | NAMED]) + size(500) + text(repeat('n', 280)) + literal('format') + b'\0\0'
line_compose['refused-named'] = (bytes([NAMED | REFUSED]) + text(literal('Task')) + literal('100')
                                 + conversion(value=text(literal('x'))) + literal('%') + b'\0\0')
line_compose['refused-long-unnamed'] = (bytes([UNNAMED | REFUSED]) + repeat('r', 250)
                                        + conversion(value=text(literal('value'))) + repeat('s', 20) + b'\0\0')
line_compose['line-cut-to-atom-of-256'] = bytes([UNNAMED]) + repeat('a', 256) + b'\0\0'
# Code pages of more than one byte a character: Shift JIS (932), GBK (936), UTF-8 (65001). The
# Shift JIS character's trail byte is also a lead byte.
SHIFT_JIS, GBK, UTF8 = 0x02, 0x04, 0x06
YA, ZHONG, EURO = '\x82\xe1', '\xd6\xd0', '\xe2\x82\xac'
line_compose['shift-jis-atom-cut-after-a-character'] = (bytes([UNNAMED | SHIFT_JIS])
                                                        + conversion(value=text(repeat('a', 249), literal(YA * 3))) + b'\0\0')
line_compose['shift-jis-atom-cut-inside-a-character'] = (bytes([UNNAMED | SHIFT_JIS])
                                                         + conversion(value=text(repeat('a', 250), literal(YA * 3))) + b'\0\0')
line_compose['shift-jis-format-cut-inside-a-character'] = bytes([UNNAMED | SHIFT_JIS]) + repeat('a', 255) + literal(YA) + b'\0\0'
line_compose['shift-jis-lead-byte-before-a-conversion'] = (bytes([UNNAMED | SHIFT_JIS]) + repeat('a', 254) + literal('\x93')
                                                           + conversion(value=text(literal('x'))) + b'\0\0')
line_compose['shift-jis-lone-lead-byte-in-a-value'] = (bytes([UNNAMED | SHIFT_JIS])
                                                       + conversion(value=text(literal('ab\x93'))) + b'\0\0')
line_compose['gbk-name-cut-inside-a-character'] = bytes([NAMED | GBK]) + text(repeat('n', 275), literal(ZHONG)) + literal('f') + b'\0\0'
line_compose['gbk-composition-cut'] = bytes([NAMED | GBK]) + text(repeat('n', 200)) + repeat('a', 72) + literal(ZHONG) + b'\0\0'
line_compose['utf8-atom-cut-inside-a-character'] = (bytes([UNNAMED | UTF8])
                                                    + conversion(value=text(repeat('a', 249), literal(EURO * 3))) + b'\0\0')
line_compose['utf8-unfinished-sequence-in-a-value'] = (bytes([UNNAMED | UTF8])
                                                       + conversion(value=text(literal('ab\xe2\x82'))) + b'\0\0')
line_compose['utf8-small-buffer'] = bytes([LINE_SIZE | UNNAMED | UTF8]) + size(12) + literal('abcdefgh' + EURO) + b'\0\0'
for n in (0, 1, 2, 3, 257, 278, 279):
    line_compose['line-size-%d' % n] = bytes([LINE_SIZE | NAMED]) + size(n) + text(literal('Task')) + repeat('x', 300) + b'\0#'

CODE_ZERO, NO_SYSTEM_TEXT, CAPACITY = 1, 2, 0x80


def wide_text(s):
    return text(literal(s, wide=True))


error_text = {}
error_text['lock-held'] = (bytes([0]) + u32(0x8004A024) + wide_text('Busy.\r\n')
                           + conversion(value=wide_text('Holder')) + literal(' currently holds the lock, try later.', wide=True) + b'\0')
error_text['no-code'] = (bytes([CODE_ZERO | NO_SYSTEM_TEXT]) + literal('plain ', wide=True)
                         + conversion(precision=0, value=text()) + conversion(value=u32(7)) + b'\0')
error_text['cause-cut-at-400'] = (bytes([0]) + u32(0x80004005) + wide_text('Unspecified error\r\n')
                                  + conversion(value=text(repeat('n', 380, wide=True))) + b'\0')
error_text['message-of-388-fits'] = bytes([NO_SYSTEM_TEXT]) + u32(1) + conversion(value=text(repeat('n', 388, wide=True))) + b'\0'
error_text['message-of-389-is-cut'] = bytes([NO_SYSTEM_TEXT]) + u32(1) + conversion(value=text(repeat('n', 389, wide=True))) + b'\0'
error_text['long-system-text'] = bytes([0]) + u32(1) + text(repeat('c', 600, wide=True)) + literal('short', wide=True) + b'\0'
error_text['final-line-reboot'] = (bytes([0]) + u32(0x0004A020) + wide_text('Restart.\r\n')
                                   + literal('InstallSpecifiedComponent\n', wide=True) + b'\0')
error_text['percent-everywhere'] = (bytes([0]) + u32(0xE000020B) + wide_text('%s%d%n 100%')
                                    + literal('100% of ', wide=True) + conversion(value=wide_text('%ls%n%%')) + b'\0')
error_text['wide-characters'] = (bytes([0]) + u32(0x800704C7) + wide_text('\u00e9\u4e2d\ud800\uffff')
                                 + literal('\u00e9\u4e2d\udc00', wide=True) + conversion(value=wide_text('\u20ac')) + b'\0')
error_text['every-conversion'] = (bytes([0]) + u32(0x80070005) + wide_text('Access denied.\r\n')
                                  + conversion(shape=0x01, width=12, value=wide_text('str'))
                                  + literal(' ', wide=True) + conversion(shape=0x0E, variant=0x11, width=8, precision=3, value=u32(-42))
                                  + literal(' ', wide=True) + conversion(shape=0x04, variant=0x12, value=u32(0xBEEF))
                                  + literal(' ', wide=True) + conversion(shape=0x04, variant=0x10, value=u32(0x8004A024))
                                  + literal(' ', wide=True) + conversion(value=b'\xff\x3a\x26')
                                  + b'\0')
error_text['embedded-nul-character'] = (bytes([0]) + u32(2) + wide_text('Not found.\r\n') + literal('before ', wide=True)
                                        + conversion(precision=0, value=text()) + conversion(precision=0, value=u32(0))
                                        + conversion(precision=0, value=u32(0)) + conversion(precision=0, value=u32(0))
                                        + conversion(value=b'\0') + literal(' after', wide=True) + b'\0')
for n in (0, 1, 2, 19, 399, 400, 401):
    error_text['capacity-%d' % n] = (bytes([CAPACITY]) + size(n) + u32(0x8004A024) + wide_text('Busy.\r\n')
                                     + repeat('m', 390, wide=True) + b'\0')

CAPACITIES, OWN_NAME, OWN_JOIN_PIECES = 1, 2, 4

# The INF path is drive, directory and "vrkprot6.inf" (12 characters); with the drive "C:" and
# a directory "\\" + 243 characters + "\\" it is 259 characters long and just fits.
inf_path = {}
inf_path['program-files'] = bytes([0]) + wide_text('C:\\Program Files\\Vornak\\VrkQuelmor.exe')
inf_path['inf-path-of-259'] = bytes([0]) + text(literal('C:\\', True), repeat('d', 243, True), literal('\\VrkQuelmor.exe', True))
inf_path['inf-path-of-260'] = bytes([0]) + text(literal('C:\\', True), repeat('d', 244, True), literal('\\VrkQuelmor.exe', True))
inf_path['directory-of-255'] = bytes([0]) + text(literal('C:\\', True), repeat('d', 253, True), literal('\\x.exe', True))
inf_path['directory-of-256'] = bytes([0]) + text(literal('C:\\', True), repeat('d', 254, True), literal('\\x.exe', True))
inf_path['forward-slashes'] = bytes([0]) + wide_text('D:/tools/bin/VrkQuelmor.exe')
inf_path['network-share'] = bytes([0]) + wide_text('\\\\server\\share\\VrkQuelmor.exe')
inf_path['no-drive'] = bytes([0]) + wide_text('relative\\VrkQuelmor.exe')
inf_path['drive-only'] = bytes([0]) + wide_text('C:')
inf_path['drive-and-name'] = bytes([0]) + wide_text('C:VrkQuelmor.exe')
inf_path['colon-later'] = bytes([0]) + wide_text('ab:\\c:\\d')
inf_path['wide-characters'] = bytes([0]) + wide_text('C:\\\u00e9t\u00e9\\\u4e2d\\\ud800\\VrkQuelmor.exe')
inf_path['own-name'] = bytes([OWN_NAME]) + wide_text('C:\\x\\y.exe') + wide_text('name') + wide_text('.ext')
inf_path['capacities'] = (bytes([CAPACITIES | OWN_NAME | OWN_JOIN_PIECES]) + size(2) + size(5) + size(12)
                          + wide_text('C:\\ab\\c.exe') + wide_text('n') + wide_text('.e') + wide_text('D:') + wide_text('\\dir\\'))
inf_path['no-room'] = bytes([CAPACITIES]) + size(0) + size(0) + size(0) + wide_text('C:\\a\\b')

for target, seeds in (('fuzz_line_compose', line_compose), ('fuzz_error_text', error_text), ('fuzz_inf_path', inf_path)):
    folder = os.path.join(HERE, 'corpus', target)
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(data)
