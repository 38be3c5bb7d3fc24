#!/usr/bin/env node
// Writes generated hosts and what the URL Standard's reference parser
// (whatwg-url, pinned in tools/unicode) makes of each, for the unit test that
// compares our parser with it. One line a host, three fields split by tabs:
// the host's UTF-8 bytes in hex; the hostname of new URL("https://" + host +
// "/"), or "!" when that throws; and the other name that transitional
// processing (tr46, with the URL Standard's other options) reads the
// percent-decoded host as, or "-" when it reads the same one or either
// processing refuses it. The hosts come from a seeded generator, so the file
// is the same on every run.
//
// Usage: node whatwg_hosts.js NODE_MODULES OUTPUT [COUNT]
'use strict';

const fs = require('fs');
const path = require('path');

const [modulesArgument, output, countArgument] = process.argv.slice(2);
if (!modulesArgument || !output) {
  console.error('usage: node whatwg_hosts.js NODE_MODULES OUTPUT [COUNT]');
  process.exit(2);
}
const modules = path.resolve(modulesArgument);
const { URL } = require(path.join(modules, 'whatwg-url'));
const punycode = require(path.join(modules, 'punycode', 'punycode.js'));
const tr46 = require(path.join(modules, 'tr46'));
const count = Number(countArgument || 8000);

// mulberry32: small, fast and the same everywhere.
function makeRandom(seed) {
  let state = seed >>> 0;
  return () => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}
const random = makeRandom(0x5eed1d4a);
const below = (n) => Math.floor(random() * n);
const pick = (items) => items[below(items.length)];
const chars = (text) => Array.from(text);
const range = (first, last) => String.fromCodePoint(first + below(last - first + 1));

const ascii = chars('abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-');
const asciiOther = chars(' !"$&\'()*+,;<=>^_`{|}~%\t\u0000\u007f');
const deviations = chars('\u00DF\u1E9E\u03C2\u03A3\u03C3\u200C\u200D');
const viramas = chars('\u094D\u09CD\u0A4D\u0BCD\u0D4D\u1039');
const indic = chars('\u0915\u0937\u0924\u0930\u0995\u0B95\u0D15\u1000');
const arabic = chars('\u0628\u062A\u0627\u0644\u0639\u0631\u064A\u0647\u0640\u0621');
const hebrew = chars('\u05D0\u05D1\u05D2\u05E9\u05EA');
const bidiOther = chars('\u0660\u0661\u06F1\u05B0\u064E\u0670\u200F\u200E\u0020\u002C\u00B7');
const marks = chars('\u0300\u0301\u0308\u0323\u0327\u0338\u05B0\u093C\u0F71\u0F72\u3099\u20DD');
const composable = ['e\u0301', 'u\u0308', 'a\u0323\u0302', '\u1100\u1161', '\uAC00\u11A8', '\u212B', 'A\u030A',
                    '=\u0338', '<\u0338', '\u0958', '\u0F73', 'n\u0303', '\u0041\u0301\u0327'];
const fullwidth = () => pick([range(0xff21, 0xff3a), range(0xff41, 0xff5a), range(0xff10, 0xff19), '\uFF0D']);
const dots = chars('.\u3002\uFF0E\uFF61\u2488\u2024\uFE52');
const latinExtra = chars('\u00E9\u00FC\u00F6\u0430\u03B1\u0131\u0130\u01C5\u2160\u00AA\u00BD\u2122\u00AD\uFE0F');
const cjk = () => pick([range(0x4e00, 0x9fff), range(0x3041, 0x3096), range(0x30a1, 0x30fa), range(0xac00, 0xd7a3)]);

// A code point from the whole range, more often from the planes in use; no
// surrogates, which UTF-8 cannot hold.
function anyCodePoint() {
  for (;;) {
    const c = pick([() => below(0x110000), () => below(0x10000), () => below(0x3000), () => 0x10000 + below(0x20000),
                    () => 0xe0000 + below(0x1000)])();
    if (c < 0xd800 || c > 0xdfff) return String.fromCodePoint(c);
  }
}

const letter = () => pick(ascii);
const percent = () => '%' + pick(['C3%9F', '2E', '41', 'zz', '00', 'E2%80%8D', 'E3%80%82', 'FF', '25', 'C3']);
// Each label keeps to one theme, so that many are valid names, and now and
// then takes a piece of another.
const themes = [
  [letter],
  [letter],
  [letter, letter, letter, () => pick(deviations)],
  [letter, letter, () => pick(latinExtra), () => pick(marks), () => pick(composable)],
  [() => pick(indic), () => pick(indic) + pick(viramas) + pick(['\u200D', '\u200C', '']) + pick(indic),
   () => pick(['\u200D', '\u200C'])],
  [() => pick(arabic), () => pick(arabic) + pick(['\u200C', '\u064E\u200C', '\u200C\u064E', '']) + pick(arabic),
   () => pick(bidiOther), () => pick(['1', '2', '-'])],
  [() => pick(hebrew), () => pick(hebrew), () => pick(bidiOther), () => pick(['1', 'a', '-'])],
  [cjk, cjk, () => pick(['\u30FC', '\u3005', '1'])],
  [fullwidth, fullwidth, letter],
  [() => pick(asciiOther), letter, letter, percent],
  [anyCodePoint, letter],
];
const anyPiece = () => pick(pick(themes))();

function label() {
  if (below(10) === 0) return 'xn--' + aceLabel();
  const theme = pick(themes);
  let text = '';
  for (let i = 1 + below(8); i > 0; --i) text += below(30) === 0 ? anyPiece() : pick(theme)();
  return text;
}

// An "xn--" label's rest: most encode a real label, the others are broken.
function aceLabel() {
  const style = below(6);
  if (style <= 2) {
    let text = '';
    for (let i = 1 + below(5); i > 0; --i) text += anyPiece();
    let encoded = punycode.encode(text);
    if (style === 2) encoded = encoded.toUpperCase();
    return encoded;
  }
  if (style === 3) return pick(['', 'abc-', 'a', 'zz', '-', 'xn--bcher-kva', 'bcher-kva\u00FC', 'strae-oqa']);
  let text = '';
  for (let i = below(8); i > 0; --i) text += pick(ascii);
  return text;
}

function domain() {
  const labels = [];
  for (let i = 1 + below(3); i > 0; --i) labels.push(label());
  let text = labels[0];
  for (const next of labels.slice(1)) text += (below(6) === 0 ? pick(dots) : '.') + next;
  if (below(8) === 0) text += pick(dots);
  if (below(3) === 0) text += pick(['.com', '.de', '.com', '.xn--p1ai', '.\u05D0\u05D1']);
  return text;
}

// Hosts the number parser and the IPv6 parser take, among the names.
function addressLike() {
  const number = () => pick([String(below(300)), '0x' + below(256).toString(16), '0' + below(64).toString(8), '',
                             '4294967296', '0x', '09', '\uFF11\uFF12']);
  const parts = [];
  for (let i = 1 + below(5); i > 0; --i) parts.push(number());
  if (below(4) === 0) parts.push(pick(['a', 'xn--a', '', '\u0661']));
  if (below(6) === 0) return '[' + pick(['::1', '1:2:3:4:5:6:7:8', '::ffff:1.2.3.4', '1::2::3', 'v6', '']) + ']';
  return parts.join(pick(['.', '.', '\u3002']));
}

const fixed = ['STRA\u1E9EE.de', 'stra\u00DFe.de', 'strasse.de', 'xn--strae-oqa.de', 'xn--zca.com', '\u03C2.gr',
               'a\u200Cb.com', '\u0915\u094D\u200D\u0937.in', 'xn--a.com', 'xn--.com', 'xn--xn--a-.com'];
// The host parser's percent-decoding and UTF-8 decoding, for tr46.
function percentDecoded(host) {
  const bytes = Buffer.from(host, 'utf8');
  const decoded = [];
  for (let i = 0; i < bytes.length; ++i) {
    const hex = bytes.subarray(i + 1, i + 3).toString('latin1');
    if (bytes[i] === 0x25 && /^[0-9A-Fa-f]{2}$/.test(hex)) {
      decoded.push(parseInt(hex, 16));
      i += 2;
    } else {
      decoded.push(bytes[i]);
    }
  }
  return Buffer.from(decoded).toString('utf8');
}

function otherReading(host) {
  const options = (transitionalProcessing) => ({checkHyphens: false, checkBidi: true, checkJoiners: true,
                                                useSTD3ASCIIRules: false, verifyDNSLength: false,
                                                transitionalProcessing});
  const domain = percentDecoded(host);
  const current = tr46.toASCII(domain, options(false));
  const transitional = tr46.toASCII(domain, options(true));
  return current && transitional && current !== transitional ? transitional : '-';
}

const lines = [];
for (let i = 0; i < count; ++i) {
  const host = i < fixed.length ? fixed[i] : below(12) === 0 ? addressLike() : domain();
  let hostname;
  try {
    hostname = new URL('https://' + host + '/').hostname;
  } catch {
    hostname = '!';
  }
  lines.push(Buffer.from(host, 'utf8').toString('hex') + '\t' + hostname + '\t' + otherReading(host));
}
fs.writeFileSync(output, lines.join('\n') + '\n');
