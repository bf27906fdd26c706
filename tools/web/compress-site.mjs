// node compress-site.mjs SITE: writes a gzip (FILE.gz) and a brotli (FILE.br) copy beside each
// file of the site that compression makes at least a tenth smaller, for web servers that send a
// file's compressed copy to browsers that take it (nginx's gzip_static and brotli_static,
// Caddy's precompressed, tools/web/serve-site.mjs). The copies are made at the strongest
// settings, once, at build time.
import {readdirSync, readFileSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {brotliCompressSync, constants, gzipSync} from 'node:zlib';

const [site] = process.argv.slice(2);
for (const name of readdirSync(site)) {
  if (/\.(gz|br)$/.test(name)) continue;
  const bytes = readFileSync(join(site, name));
  const copies = {
    gz: gzipSync(bytes, {level: 9}),
    br: brotliCompressSync(bytes, {params: {[constants.BROTLI_PARAM_QUALITY]: 11, [constants.BROTLI_PARAM_SIZE_HINT]: bytes.length}}),
  };
  for (const [suffix, copy] of Object.entries(copies))
    if (copy.length <= bytes.length * 0.9) writeFileSync(join(site, `${name}.${suffix}`), copy);
}
