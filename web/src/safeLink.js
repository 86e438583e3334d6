// Which hot-spot links the viewer follows.

/**
 * Whether a hot-spot link may be followed: never when it would run script (javascript:,
 * vbscript:) or open inline content (data:), however it is disguised. The text is undone the
 * way a browser or a URL parser would read it (references, percent escapes, leading blanks and
 * control characters, tabs and line breaks anywhere) before its scheme is looked at.
 */
function linkAllowed(link) {
  const named = { amp: '&', lt: '<', gt: '>', quot: '"', apos: "'", colon: ':', tab: '\t',
    newline: '\n', nbsp: '\u00a0' };
  const entities = (t) => t.replace(/&(#[0-9]+|#[xX][0-9A-Fa-f]+|[A-Za-z]+);?/g, (all, body) => {
    if (body[0] !== '#') return named[body.toLowerCase()] ?? all;
    const code = /^#[xX]/.test(body) ? parseInt(body.slice(2), 16) : parseInt(body.slice(1), 10);
    return code > 0 && code <= 0x10ffff ? String.fromCodePoint(code) : all;
  });
  let s = link;
  for (let round = 0; round < 4; round++) {
    const before = s;
    s = entities(s);
    try {
      s = decodeURIComponent(s);
    } catch {
      // a stray % stays as it is
    }
    if (s === before) break;
  }
  s = s.replace(/[\t\n\r]/g, '').replace(/^[\u0000-\u0020\u00a0\ufeff]+/, '');
  const scheme = /^([A-Za-z][A-Za-z0-9+.-]*):/.exec(s);
  return !scheme || !['javascript', 'vbscript', 'data'].includes(scheme[1].toLowerCase());
}

export { linkAllowed };
