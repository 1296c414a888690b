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

# Patterns: choices (bit 0 regular expression, bit 1 case sensitive, bits 2-3 code page: 0 ASCII,
# 1 folding above ASCII, 2 double-byte), the pattern, then lines, each a text.
PLAIN, REGEX, CASE, FOLDING, DOUBLE_BYTE = 0, 1, 2, 4, 8


def btext(data):
    """A text of bytes, literal."""
    return text(literal(data.decode('latin-1')))


text_pattern = {}
text_pattern['plain-anywhere'] = bytes([PLAIN]) + btext(b'disk') + btext(b'Scanner : DISK full') + btext(b'no')
text_pattern['plain-case'] = bytes([PLAIN | CASE]) + btext(b'Error') + btext(b'error here') + btext(b'Error here')
text_pattern['regex-subset'] = (bytes([REGEX | CASE]) + btext(rb'^Poller : idle \d+$') + btext(b'Poller : idle 42')
                                + btext(b'Poller : idle 42 ms'))
text_pattern['regex-classes'] = (bytes([REGEX]) + btext(rb'0x[0-9a-f]{8}\b|[^a-z ]\w+@\w+\.com|\s\S|\x41\t')
                                 + btext(b'at 0x0040FFEE mail bob@example.com') + btext(b'A\t'))
text_pattern['regex-backtracking-hostile'] = bytes([REGEX]) + btext(b'(x+x+)+y') + text(repeat('x', 4000))
text_pattern['regex-many-states'] = (bytes([REGEX | CASE]) + btext(b'(a|b)*a(a|b){12}$')
                                     + btext(bytes(b'ab'[(i * 7919 >> 3) % 2] for i in range(3000))))
text_pattern['regex-heavy-rule'] = (bytes([REGEX]) + btext(b'.*a.{100}a.{100}c')
                                    + btext(bytes(b'ab'[(i * 40503 >> 5) % 2] for i in range(250))))
text_pattern['regex-too-large-in-a-repeat'] = bytes([REGEX]) + btext(b'(a{1000}){1000}') + btext(b'aaa')
text_pattern['plain-too-large'] = bytes([PLAIN]) + text(repeat('p', 20001)) + btext(b'ppp')
text_pattern['regex-refusals'] = bytes([REGEX]) + btext(b'a(b|[c-a]\\') + btext(b'x')
text_pattern['regex-too-deep'] = bytes([REGEX]) + text(repeat('(', 101)) + btext(b'x')
text_pattern['double-byte-plain'] = (bytes([PLAIN | DOUBLE_BYTE]) + btext(b'\x95\x5C') + btext(b'x\x95\x5Cy\x83\x41')
                                     + btext(b'\\ A'))
text_pattern['double-byte-regex'] = (bytes([REGEX | CASE | DOUBLE_BYTE]) + btext(b'^x[^a].\x83\x41$')
                                     + btext(b'x\x95\x5C\x88\x9F\x83\x41'))
text_pattern['double-byte-lone-lead-at-the-end'] = bytes([PLAIN | DOUBLE_BYTE]) + btext(b'a\x83') + btext(b'a\x83\x41 a\x83')
text_pattern['folding-above-ascii'] = (bytes([PLAIN | FOLDING]) + btext(b'caf\xc9 \xd7') + btext(b'CAF\xe9 \xd7')
                                       + btext(b'caf\xe9 \xf7'))
text_pattern['find-all-marks'] = bytes([REGEX]) + btext(b'a+|x*') + btext(b'xaaxa aaa')

# Patterns against the C++ library's engine: choices (bit 0 case sensitive), the pattern's length
# and bytes, then bytes that seed the generated lines.
regex_seeds = [b'a|b', rb'^\w+\d?$', b'(ab)*c', b'a{2,3}', rb'[A-C-]x', rb'\bcat\B', b'colou?r', b'(?:a|)+b', b'x*?y',
               b'.-.', rb'[^a]\s', rb'\x41+', b'a{,2}', b'()|^$']
pattern_vs_std_regex = {}
for i, pattern in enumerate(regex_seeds):
    for case in (0, 1):
        pattern_vs_std_regex['pattern-%d-%s' % (i, 'case' if case else 'nocase')] = (
            bytes([case, len(pattern)]) + pattern + bytes([i, 7, 3]))

# Rule files: the bytes of the file.
rule_file = {}
rule_file['every-kind'] = (b"# vornak-terminal rules: [disabled] KIND [#RRGGBB] [class=CLASS] [regex] [case] 'PATTERN'\r\n"
                           b"include 'Scanner'\r\n"
                           b"exclude class=debug regex case '^Poller : idle \\d+$'\r\n"
                           b"highlight #FF8080 class=error 'disk full'\r\n"
                           b"disabled stop regex 'fatal|panic'\r\n"
                           b"highlight 'it''s'\r\n"
                           b"exclude \"\\x1b[0m\\\\ \\\"quoted\\\"\"\r\n")
rule_file['highlight-text-matched'] = (b"highlight #FFE135 text=#000000 matched regex 'timeout [0-9]+'\r\n"
                                       b"highlight MATCHED TEXT=#80ff80 class=ods process=a*.exe 'x'\r\n")
rule_file['any-order-bom-lf'] = b"\xef\xbb\xbfREGEX Exclude CASE 'x'\n\n  # comment\n\tHIGHLIGHT #00ff00 'y'\n"
rule_file['utf8-pattern'] = "include 'caf\u00e9 \u4e2d'\n".encode('utf-8')
rule_file['escape-not-utf8'] = b'include "\\xff\\xC3\\xA9"\n'
rule_file['bad-lines'] = b"include 'a'\ninclde 'b'\n"
rule_file['unclosed-quote'] = b"include 'a\n"
rule_file['not-utf8'] = b"include '\xff'\n"
rule_file['regex-refused-when-compiled'] = b"include 'ok'\nexclude regex 'a(b'\n"
rule_file['no-final-line-end'] = b"stop 'x'"

# Logs: the form (0: text), four bytes that seed the cuts, then the file's bytes.
log_lines = (b"09:05:03.007 debug     Scanner : count=5\r\n"
             b"09:05:03.008 log       caf\xe9 \\t tab \\x41 stays\n"
             b"09:05:03.009 statistic 1 2 3\n"
             b"09:05:03.010 error     disk full\n"
             b"09:05:03.011 separator ==========\n"
             b"09:05:03.012 clear     terminal cleared\n"
             b"09:05:03.013 debug     <line too long to carry>\n"
             b"09:05:03.014 debug     <line could not be read>\n"
             b"09:05:03.015 dropped   42 lines lost: the output could not keep up\n"
             b"09:05:03.016 log\n"
             b"23:59:59.999 error     \\x01\\x1F\\x7F\\n\\r\\\\\n"
             b"23:59:59.999 ods       pid=4294967295 My\\x20Tool.exe adapter 2 bound\n"
             b"23:59:59.999 ods       pid=7 - ")
log_reader = {}
log_reader['every-kind-of-line'] = bytes([0]) + u32(12345) + log_lines
log_reader['byte-order-mark-in-pieces'] = bytes([0]) + u32(1) + b'\xef\xbb\xbf' + log_lines
log_reader['damaged-lines-inside'] = bytes([0]) + u32(99) + log_lines[:120] + b'\x00\x01garbage\n24:00:00.000 debug     x\n' + log_lines[120:]
log_reader['not-a-log'] = bytes([0]) + u32(7) + b'\n\r\nhello world\n' + log_lines
log_reader['first-line-too-long'] = bytes([0]) + u32(3) + b'09:05:03.007 debug     ' + b'x' * 4100 + b'\n' + log_lines
log_reader['line-too-long-inside'] = bytes([0]) + u32(5) + log_lines + b'\n09:05:03.007 debug     ' + b'y' * 4074 + b'\n' + log_lines
log_reader['partial-mark'] = bytes([0]) + u32(2) + b'\xef\xbb'
json_lines = ('{"time":"2026-12-08T14:24:12.449+01:00","class":"debug","text":"caf\u00e9 \\"q\\" \\\\ \\u0009"}\n'
              '{"time":null,"class":"clear","text":"terminal cleared"}\n'
              '{"time":"2026-12-09T00:00:00.000-08:00","class":"dropped","text":"1 line lost: the output could not keep up"}\n'
              '{"time":null,"class":"error","text":"<line too long to carry>"}\n'
              '{"time":null,"class":"ods","pid":4321,"process":"caf\u00e9.exe","text":"ready"}\n'
              '{"time":null,"class":"ods","pid":7,"process":null,"text":""}\n').encode('utf-8')
log_reader['dated-lines'] = bytes([0]) + u32(17) + b'date 2026-12-09\n' + log_lines + b'date 2026-12-10\r\n' + log_lines
log_reader['json-every-kind-of-line'] = bytes([1]) + u32(11) + json_lines
log_reader['json-damaged-line-inside'] = bytes([1]) + u32(13) + json_lines + b'{"time":null,"class":"debug","text":"\\u0041"}\n' + json_lines

# Rotated sets: members split at 0x1E, oldest first.
log_reader['set-of-both-forms'] = bytes([2]) + u32(19) + b'date 2026-12-09\n' + log_lines + b'\x1e' + json_lines + b'\x1e' + log_lines
log_reader['set-with-bad-and-empty-members'] = (bytes([2]) + u32(23) + b'hello world\n' + b'\x1e\x1e' + log_lines[:120] +
                                                b'\x00garbage\n' + log_lines[120:] + b'\x1e{not json}\n' + json_lines)
log_reader['file-alone-not-a-log'] = bytes([2]) + u32(29) + b'{"time":' + b'x' * 9000

# Collector addresses: the text.
syslog_destination = {}
for name, address in (('udp', 'syslog+udp://127.0.0.1:514'), ('tcp-ipv6', 'syslog+tcp://[::1]:6514'),
                      ('upper-case-scheme-slash', 'SYSLOG+TCP://collector.example:65535/'),
                      ('no-port', 'syslog+udp://host'), ('port-0', 'syslog+udp://host:0'),
                      ('port-65536', 'syslog+udp://host:65536'), ('port-huge', 'syslog+udp://host:99999999999999'),
                      ('bare-ipv6', 'syslog+udp://::1:514'), ('bracket-not-ipv6', 'syslog+udp://[%]:514'),
                      ('unclosed-bracket', 'syslog+udp://[::1:514'), ('no-host', 'syslog+tcp://:514'),
                      ('other-scheme', 'https://host:514'), ('not-ascii', 'syslog+udp://h\u00f6st:514'),
                      ('zone-index', 'syslog+udp://[fe80::1%eth0]:514')):
    syslog_destination[name] = wide_text(address)

# Command lines: the program (0 terminal, 1 sender), then arguments, each a byte below 0xC0 for
# a word of the fuzzer's list, or 0xC0 and a text.
def words(*indexes):
    return bytes(indexes)


def argument(s, wide=True):
    return bytes([0xC0]) + text(literal(s, wide=wide))


command_lines = {}
command_lines['terminal-headless-everything'] = (bytes([0]) + words(0, 6, 16, 11, 15, 12, 30, 13, 19, 9, 33, 9, 34, 10, 24)
                                                + words(9, 36))
command_lines['terminal-stop-timeout'] = bytes([0]) + words(1, 7, 20)
command_lines['terminal-timeout-3601'] = bytes([0]) + words(2, 7, 21)
command_lines['terminal-rules'] = bytes([0]) + words(8) + argument('C:\\rules\\\u00e9.rules')
command_lines['terminal-rotate-too-large'] = bytes([0]) + words(0, 6, 16, 12, 27)
command_lines['terminal-two-commands'] = bytes([0]) + words(0, 1)
command_lines['terminal-unknown'] = bytes([0]) + argument('--w\u00e4it')
command_lines['terminal-view-with-rules'] = bytes([0]) + words(38, 39, 8) + argument('C:\\rules\\a.rules')
command_lines['terminal-view-and-log'] = bytes([0]) + words(38, 39, 9, 17)
command_lines['sender-task-debug'] = bytes([1]) + words(0, 15, 6, 16, 17)
command_lines['sender-separator'] = bytes([1]) + words(11, 13)
command_lines['sender-clear-extra'] = bytes([1]) + words(12, 14)
command_lines['sender-text-of-its-own'] = bytes([1]) + words(10) + argument('caf\xe9 %n', wide=False)

# Received lines for the JSON and syslog writers: choices (class + 6 * carriage, 0x80: no
# instant), the code page's index (1252, 1250, 1251, 874, 932, 936, 950, 949, 65001), the
# instant (eight bytes), the offset (two bytes), then the text. The syslog fuzzer takes a limit
# (two bytes), a process id (four) and a host name (a text) before it.
def i64(n):
    return struct.pack('<q', n)


def received(line_class, code_page_index, utc_ms, offset, data, carriage=0, no_instant=False):
    earliest = -11644473600000
    return (bytes([line_class + 6 * carriage | (0x80 if no_instant else 0), code_page_index]) + i64(utc_ms - earliest)
            + struct.pack('<h', offset) + data)


NOW = 1796736252449
received_lines = {
    'western': received(0, 0, NOW, 60, b'"q" \\ \t\x01\x1f\x7f caf\xe9 \x80\n'),
    'cyrillic': received(3, 2, NOW, 180, b'\xcf\xf0\xe8\xe2\xe5\xf2\n'),
    'japanese-lone-lead-at-the-end': received(1, 4, NOW, 540, b'\x93\xfa\x96\x7b\x84\x47 \x93\n'),
    'chinese': received(2, 5, NOW, 480, b'\xd6\xd0\xce\xc4\n'),
    'utf8-with-byte-order-mark': received(0, 8, NOW, 0, b'\xef\xbb\xbfx \xf0\x9f\x98\x80 \xed\xa0\x80\n'),
    'clear': received(5, 0, NOW, -330, b''),
    'too-long': received(0, 0, NOW, 0, b'', carriage=1),
    'no-instant': received(4, 0, 0, 0, b'=====\n', no_instant=True),
    'year-10000': received(0, 0, 253402300800000, 0, b'x\n'),
    'offset-past-a-day': received(0, 0, NOW, 1440, b'x\n'),
    'offset-last-minute': received(0, 0, 253402300799999 - 1439 * 60000, 1439, b'x\n'),
}
# An ods line: 0x40 in the choices, then the writer's id and its name (a length byte, the bytes).
received_lines['ods-writer-with-quote-and-bracket'] = (received(0x40, 0, NOW, 60, b'') + u32(4321) +
                                                      bytes([15]) + b'my "tool]\\\xe9.exe' + b'adapter 2 bound')
received_lines['ods-writer-ended'] = received(0x40, 2, NOW, 0, b'') + u32(7) + bytes([0]) + b'\xcf\xf0\n'
received_lines['ods-writer-long-name'] = received(0x40, 8, NOW, 0, b'') + u32(1) + bytes([255]) + '\u00e9'.encode() * 127 + b'x' + b'text'
json_line = dict(received_lines)
syslog_message = {}
for name, data in received_lines.items():
    syslog_message[name] = size(0) + u32(4242) + text(literal('lab-07.example.net')) + data
    syslog_message[name + '-cut'] = size(40) + u32(0xFFFFFFFF) + text(repeat('h', 300)) + data
syslog_message['host-name-with-blanks'] = size(1700) + u32(1) + text(literal('my host\x7f\xe9')) + received_lines['western']

# The debug-output buffer as a writer leaves it: the process id, then the text (raw bytes, not the
# input language: the buffer is what any process may write).
debug_output = {
    'lines': u32(4242) + b'one\ntwo\r\nthree\n\0',
    'no-terminator': u32(0xFFFFFFF0) + b'x' * 4092,
    'returns-and-feeds': u32(1) + b'\r\r\n\n\ra\rb\r\n\0junk after the end\n',
    'short': b'\x01\x02',
}

for target, seeds in (('fuzz_line_compose', line_compose), ('fuzz_error_text', error_text), ('fuzz_inf_path', inf_path),
                      ('fuzz_text_pattern', text_pattern), ('fuzz_pattern_vs_std_regex', pattern_vs_std_regex),
                      ('fuzz_rule_file', rule_file), ('fuzz_log_reader', log_reader),
                      ('fuzz_syslog_destination', syslog_destination), ('fuzz_command_lines', command_lines),
                      ('fuzz_json_line', json_line), ('fuzz_syslog_message', syslog_message),
                      ('fuzz_debug_output', debug_output)):
    folder = os.path.join(HERE, 'corpus', target)
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(data)
