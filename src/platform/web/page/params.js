// What the page's address asks for, and the shipped config.xml with those
// settings changed. Shared with the unit test (node), hence no DOM here.
(function (exports) {
  'use strict';

  // ?still=SECONDS, ?timeline, ?audio=0, ?size=WIDTHxHEIGHT, ?audiotap.
  function pageParams(search) {
    const q = new URLSearchParams(search);
    const out = { still: null, timeline: q.has('timeline') && q.get('timeline') !== '0',
                  audio: q.get('audio') !== '0', size: null, audioTap: q.has('audiotap') };
    const still = q.get('still');
    if (still !== null && /^\d+(\.\d+)?$/.test(still)) out.still = still;
    const size = /^(\d{3,4})x(\d{3,4})$/.exec(q.get('size') || '');
    if (size) out.size = [Number(size[1]), Number(size[2])];
    return out;
  }

  // Replaces the text of <tag> inside <section>; the document as it was
  // when either is missing.
  function setting(xml, section, tag, value) {
    const open = xml.indexOf('<' + section + '>');
    const close = xml.indexOf('</' + section + '>', open);
    if (open < 0 || close < 0) return xml;
    const body = xml.slice(open, close);
    const changed = body.replace(new RegExp('<' + tag + '>[^<]*</' + tag + '>'), '<' + tag + '>' + value + '</' + tag + '>');
    return xml.slice(0, open) + changed + xml.slice(close);
  }

  function configWithParams(xml, params) {
    if (params.size) {
      xml = setting(xml, 'window', 'width', params.size[0]);
      xml = setting(xml, 'window', 'height', params.size[1]);
    }
    if (params.timeline) xml = setting(xml, 'debug', 'timeline', 1);
    if (!params.audio) xml = setting(xml, 'audio', 'enabled', 0);
    return xml;
  }

  // The program's command line for the page: a still writes /still.png.
  function programArguments(params) {
    return params.still === null ? [] : ['--still', params.still + ':/still.png'];
  }

  exports.pageParams = pageParams;
  exports.configWithParams = configWithParams;
  exports.programArguments = programArguments;
})(typeof module === 'object' ? module.exports : (window.hedenParams = {}));
