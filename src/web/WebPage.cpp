// The pages' frame and style. Sizes in rem follow the window's width: large on the wall TV,
// readable on a phone.
#include "web/WebPage.h"

using namespace Qt::StringLiterals;

namespace WebPage {

namespace {

const char* const style = R"(
*{box-sizing:border-box}
html{font-size:16px}
@media (min-width:1400px){html{font-size:22px}}
body{margin:0;background:#10161e;color:#e8edf2;font-family:"WenQuanYi Micro Hei","Noto Sans CJK SC",sans-serif}
nav{display:flex;flex-wrap:wrap;gap:.2rem 1.2rem;align-items:center;padding:.4rem 1rem;background:#1d2733}
a{color:#9fc3ff}
nav a{color:#9fc3ff;text-decoration:none;font-size:1.1rem;padding:.2rem .4rem}
nav a.on{color:#fff;border-bottom:3px solid #4da3ff}
nav .clock{margin-left:auto;color:#b8c4d0}
main{padding:.6rem 1rem}
h1{font-size:2rem;margin:.3rem 0 .6rem;text-align:center}
h2{font-size:1.3rem;margin:1rem 0 .4rem}
table{border-collapse:collapse;width:100%;table-layout:auto}
th,td{border:1px solid #34414f;padding:.3rem .5rem;text-align:left;white-space:nowrap;overflow:hidden;text-overflow:ellipsis}
th{background:#22303e;color:#cfe0f0}
tr:nth-child(even) td{background:#151d27}
td.num{text-align:right}
.scroll{overflow-x:auto}
.offline{background:#b3261e;color:#fff;padding:.4rem .8rem;font-size:1.3rem;display:inline-block;margin:.2rem 0}
.late td{color:#ff6b6b}
.late td.state{font-weight:bold}
.good{color:#6fdc8c}.bad{color:#ff6b6b}
.figures{display:flex;flex-wrap:wrap;gap:.6rem;margin-bottom:.8rem}
.figure{background:#1d2733;padding:.5rem .8rem;min-width:10rem;flex:1}
.figure .cap{color:#b8c4d0}.figure .now{font-size:1.8rem}.figure .was{color:#b8c4d0;font-size:.9rem}
.charts{display:grid;grid-template-columns:repeat(auto-fit,minmax(20rem,1fr));gap:.8rem}
.charts svg{width:100%;height:auto;background:#1d2733}
form.filter{display:flex;flex-wrap:wrap;gap:.4rem .8rem;align-items:end;margin-bottom:.6rem}
form.filter label{display:flex;flex-direction:column;font-size:.9rem;color:#b8c4d0}
input,button{font-size:1rem;padding:.3rem .4rem}
.board td,.board th{font-size:1.6rem;padding:.4rem .6rem}
@media (max-width:700px){.board td,.board th{font-size:1.1rem;padding:.3rem .4rem}h1{font-size:1.5rem}}
.login{max-width:24rem;margin:4rem auto;display:flex;flex-direction:column;gap:.8rem}
)";

const char* const clock = R"(
(function(){var c=document.getElementById('clock');if(!c)return;
function t(){var d=new Date();c.textContent=d.toLocaleString('zh-CN',{hour12:false});}
t();setInterval(t,1000);})();
)";

QString link(const QString& href, const QString& caption, const QString& active)
{
    return u"<a href=\"%1\"%2>%3</a>"_s.arg(href, href == active ? u" class=\"on\""_s : QString(),
                                            caption);
}

} // namespace

QString esc(const QString& text)
{
    QString out = text.toHtmlEscaped();
    out.replace(u'\'', QLatin1String("&#39;"));
    return out;
}

QString page(const QString& title, const QString& active, const QString& body,
             const QString& script)
{
    QString nav;
    if (!active.isNull())
        nav = u"<nav>"_s + link(u"/board"_s, u"库存看板"_s, active) +
              link(u"/quality"_s, u"质量分析"_s, active) +
              link(u"/stations"_s, u"工作站"_s, active) +
              u"<span class=\"clock\" id=\"clock\"></span></nav>"_s;
    return u"<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
           "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\">"
           "<link rel=\"icon\" href=\"data:,\"><title>"_s +
           esc(title) + u"</title><style>"_s + QLatin1String(style) + u"</style></head><body>"_s +
           nav + u"<main>"_s + body + u"</main><script>"_s + QLatin1String(clock) + script +
           u"</script></body></html>"_s;
}

QString login(const QString& next, bool failed)
{
    // A wall TV opens /login#token=… once: the token stays in the browser (a fragment is never
    // sent), the page sends it as the form would and the cookie does the rest.
    const QString body = u"<form class=\"login\" method=\"post\" action=\"/login\" id=\"login\">"
                         "<h1>车间看板登录</h1>"_s +
                         (failed ? u"<div class=\"offline\">令牌不正确</div>"_s : QString()) +
                         u"<label>访问令牌 <input type=\"password\" name=\"token\" id=\"token\" "
                         "autofocus></label><input type=\"hidden\" name=\"next\" value=\""_s +
                         esc(next) + u"\"><button type=\"submit\">登录</button></form>"_s;
    const QString script = failed ? QString()
                                  : u"(function(){var m=/[#&]token=([^&]*)/.exec(location.hash);"
                                    "if(!m)return;document.getElementById('token').value="
                                    "decodeURIComponent(m[1]);history.replaceState(null,'',"
                                    "location.pathname+location.search);"
                                    "document.getElementById('login').submit();})();"_s;
    return page(u"登录"_s, QString(), body, script);
}

QString refusal(int status, const QString& why)
{
    const QString head = status == 401   ? u"401 未登录"_s
                         : status == 400 ? u"400 请求有误"_s
                         : status == 404 ? u"404 没有这一页"_s
                         : status == 503 ? u"503 数据库离线"_s
                                         : QString::number(status);
    return page(head, u""_s, u"<h1>"_s + esc(head) + u"</h1><p>"_s + esc(why) + u"</p>"_s);
}

} // namespace WebPage
